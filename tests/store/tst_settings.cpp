#include "TestDatabase.h"
#include "UMisc.h"
#include "USettings.h"
#include <QSettings>
#include <QtTest>

// The settings store against a private settings folder.
class TestSettings : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

    QString storeFile() const { return m_home.path() + "/config/Orbenta/Tarnholm.conf"; }

private slots:
    void initTestCase() { prepareTestEnvironment(); }
    void init()
    {
        qputenv("XDG_CONFIG_HOME", (m_home.path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (m_home.path() + "/data").toLocal8Bit());
        QFile::remove(storeFile());
    }

    void emptyStoreGivesDefaultsAndWritesNothing()
    {
        TSettings s;
        const QString common = m_home.path() + "/data/Pruefprotokolle";
        QCOMPARE(s.CommonPath(), common);
        QCOMPARE(s.DBName(), common + "/VELMORA.FDB");
        QCOMPARE(s.DbBackupPath(), common);
        QCOMPARE(s.DefaultIntervallPruefling(), 12);
        QCOMPARE(s.KundeID(), 0);
        QCOMPARE(s.StyleName(), QStringLiteral("Windows"));
        QVERIFY(!QFile::exists(storeFile()));
        QVERIFY(!QDir(common).exists()); // the folder is not created either
    }

    void storedValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty path stays empty") << "DBName" << "" << "";
        QTest::newRow("interval abc") << "DefaultIntervallPruefling" << "abc" << "12";
        QTest::newRow("interval 24") << "DefaultIntervallPruefling" << "24" << "24";
        QTest::newRow("interval negative") << "DefaultIntervallPruefling" << "-5" << "12";
        QTest::newRow("interval zero") << "DefaultIntervallPruefling" << "0" << "12";
        QTest::newRow("interval beyond any date") << "DefaultIntervallPruefling" << "2147483647" << "12";
        QTest::newRow("interval ten years") << "DefaultIntervallPruefling" << "120" << "120";
        QTest::newRow("customer negative") << "KundeID" << "-3" << "0";
        QTest::newRow("customer not a number") << "KundeID" << "x1" << "0";
        QTest::newRow("style under lower-case name") << "windows" << "Fusion" << "Fusion";
    }
    void storedValues()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        {
            QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Orbenta", "Tarnholm");
            raw.setValue(name, stored);
        }
        TSettings s;
        QString actual;
        if (name == "DBName")
            actual = s.DBName();
        else if (name == "DefaultIntervallPruefling")
            actual = QString::number(s.DefaultIntervallPruefling());
        else if (name == "KundeID")
            actual = QString::number(s.KundeID());
        else
            actual = s.StyleName();
        QCOMPARE(actual, expected);
    }

    void writesText()
    {
        TSettings s;
        s.setKundeID(101);
        s.setStyleName("Fusion");
        s.setDbBackupPath("/srv/sicherung");
        QFile f(storeFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY2(text.contains("KundeID=101"), qPrintable(text));
        QVERIFY2(text.contains("windows=Fusion"), qPrintable(text));
        QCOMPARE(TSettings().DbBackupPath(), QStringLiteral("/srv/sicherung"));
    }

    void version() { QCOMPARE(GetFileVersionString().split('.').size(), 4); }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
