#pragma once
// A demo database in a folder with an umlaut and a space, for the tests of
// "velmora-db verify" and "anchor": statements run as a database tool runs
// them, and protocols written by velmora-db.
#include "AppHome.h"
#include "ToolRun.h"
#include <QCryptographicHash>
#include "SchemaVersion.h"
#include "UDM.h"
#include <QFile>
#include <QFileInfo>
#include <QtTest>

// The main window's customer list, as far as the data module asks for it.
struct DemoCustomerChosen : IMainView {
    void showConnectionState(const QString &, const QString &) override {}
    void showConnectionState(const QString &) override {}
    void clearCustomerList() override {}
    std::optional<int> selectedCustomerId() const override { return 101; }
    void fillCbKunden() override {}
    void Init2() override {}
};

// Attaches a file as a database tool would.
inline void attach(TDatabase &database, const QString &path)
{
    database.params = TTestDatabase::connectionParams();
    database.setDatabaseName(path);
    database.open();
}

// Inspection 10002's insulation value changed to 18,5 and saved in the
// program's data module; the caller's TScriptedDialogs answers what saving
// asks.
inline void saveInsulationInProgram(const QString &db)
{
    TfrmDM dm;
    DemoCustomerChosen mainView;
    dm.setMainView(&mainView);
    QVERIFY(dm.Connect(db));
    dm.setPrueflingeSQL();
    QVERIFY(dm.dsetPruefungen.locate("ID", qint64(10002)));
    dm.dsetPruefungen.edit();
    dm.dsetPruefungen.fieldByName("ISOLATIONSPRUEFUNG")->setEditText("18,5");
    dm.dsetPruefungen.post();
    dm.setMainView(nullptr);
}

struct Files {
    TAppHome home;
    Files() { home.createDatabase(); }
    QString db() const { return home.dbPath; }
    QString file(const QString &name) const { return home.dir.filePath(QStringLiteral("Prüf ordner/") + name); }
    // A statement as a database tool would run it; the first value of its
    // first row, if it returns rows.
    qint64 run(const QString &statement)
    {
        TDatabase database;
        TTransaction t(&database);
        attach(database, db());
        TQuery q(&database);
        q.setSql(statement);
        q.execQuery();
        const qint64 first = q.returnsRows() && !q.eof() ? q.asInteger(0) : 0;
        q.close();
        t.commit();
        return first;
    }
    void sql(const QString &statement) { run(statement); }
    qint64 scalar(const QString &statement) { return run(statement); }
    // What tells whether a file was touched: its bytes, its time and, read
    // from a copy (attaching a file writes to it), its schema version.
    QByteArray sha256() const
    {
        QFile in(db());
        return in.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(in.readAll(), QCryptographicHash::Sha256) : QByteArray();
    }
    QDateTime modified() const { return QFileInfo(db()).lastModified(); }
    int schemaVersion() const
    {
        const QString copy = home.dir.filePath(QStringLiteral("Kopie zum Lesen.fdb"));
        QFile::remove(copy);
        QFile::copy(db(), copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        TDatabase database;
        TTransaction t(&database);
        attach(database, copy);
        return storedSchemaVersion(database);
    }
    QString protocol(int pruefungId, const QString &name)
    {
        const QString pdf = file(name);
        const TToolRun r = velmoraDb({"report", db(), "--protocol", QString::number(pruefungId), "--out", pdf});
        return r.exitCode == 0 ? pdf : QString();
    }
};
