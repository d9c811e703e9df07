#pragma once
// For tests that link the program's library: empty settings that name a
// database file in a temporary folder, and the demo database there.
#include "Database.h"
#include "NewDatabase.h"
#include "Query.h"
#include "TestDatabase.h"
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

struct TAppHome {
    QTemporaryDir dir;
    QString dbPath;

    TAppHome()
    {
        isolateHomes();
        // The settings file's place is fixed once per process: empty it instead.
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Orbenta", "Tarnholm").clear();
        // A home folder like /home/jürgen: an umlaut and a space on the path.
        QDir(dir.path()).mkdir(QStringLiteral("Prüf ordner"));
        dbPath = dir.filePath(QStringLiteral("Prüf ordner/VELMORA.FDB"));
        setSetting("DBName", dbPath);
    }
    static void setSetting(const QString &name, const QVariant &value)
    {
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Orbenta", "Tarnholm");
        raw.setValue(name, value.toString());
    }
    static QVariant setting(const QString &name)
    {
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Orbenta", "Tarnholm");
        return raw.value(name);
    }
    // The demo database, changed by the given statements.
    void createDatabase(const QStringList &changes = {})
    {
        TDatabase db;
        TTransaction t(&db);
        db.params = connectionParams();
        createVelmoraDatabase(db, dbPath);
        TQuery q(&db);
        for (const QString &sql : changes) {
            q.setSql(sql);
            q.execQuery();
        }
        t.commit();
    }
};
