// "velmora-db import" as a separate program on real files in a folder
// with an umlaut and a space.
#include "TestDatabase.h"
#include "ToolRun.h"
#include <QtTest>

namespace {

const QString kExamples = QStringLiteral(VELMORA_SOURCE_DIR "/resources/import/");

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

QString inspectionCount(const QString &db)
{
    const TToolRun r = velmoraDb({"check", db});
    static const QRegularExpression line(QStringLiteral("PRUEFUNGEN\\s+(\\d+)"));
    return line.match(r.out).captured(1);
}

} // namespace

class TestVelmoraDbImport : public QObject {
    Q_OBJECT
    QTemporaryDir m_top;
    QString m_folder, m_db;

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QVERIFY(QDir(m_top.path()).mkdir(QStringLiteral("Prüf ordner")));
        m_folder = m_top.filePath(QStringLiteral("Prüf ordner"));
        m_db = m_folder + QStringLiteral("/Mess daten.fdb");
        QCOMPARE(velmoraDb({"create", m_db}).exitCode, 0);
        QFile image(m_top.filePath("abbild.img")); // sparse: takes no space
        QVERIFY(image.open(QIODevice::WriteOnly) && image.resize(201LL * 1024 * 1024));
    }

    void dryRunWritesNothingAndListsLeftOutRows()
    {
        const TToolRun r = velmoraDb({"import", m_db, kExamples + "beispiel-semikolon.csv", "--profile",
                                      kExamples + "beispiel-semikolon.json", "--geraet", "Mess 01", "--dry-run"});
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.out.contains(QStringLiteral("2\tbereit\tDrucker Nr. 85 (Demo-Kunde)\t03.11.2025 09:15\t0,08\t19,99\t0,21\t-\t-\tbestanden")),
                 qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Summe: 1 bereit, 1 Prüfling unbekannt, 1 Wert keine Zahl, 1 Urteil weicht ab")));
        QVERIFY(r.err.contains(QStringLiteral("Zeile 3: Wert keine Zahl – Schutzleiterwiderstand: „0,12 Ohm“")));
        QVERIFY(r.err.contains(QStringLiteral("Zeile 4: Prüfling unbekannt")));
        QCOMPARE(inspectionCount(m_db), QStringLiteral("2"));
    }

    void importsOnceFromAStoredOrAFileProfile()
    {
        const QString file = m_folder + QStringLiteral("/Prüfung März.csv");
        writeFile(file, "QR,Zeitpunkt,Sicht,RPE,RISO,IEA,Funktion,Ergebnis,Pr\xC3\xBC" "fer,Notiz\r\n"
                        "VPP1;K101;G1001;N85,2025-11-05 08:00:00,OK,0.07,19.99,0.25,OK,PASS,,\r\n"
                        "VPP1;K101;G1002;N86,2025-11-05 08:10:00,OK,0.09,19.99,0.20,OK,PASS,,\r\n");
        const QStringList args{"import", m_db, file, "--profile", kExamples + "beispiel-qrcode.json", "--geraet", "Mess 02"};
        TToolRun r = velmoraDb(args);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Importiert: 2 Prüfungen (Stapel 1).")), qPrintable(r.out + r.err));
        QCOMPARE(inspectionCount(m_db), QStringLiteral("4"));
        r = velmoraDb(args);
        QCOMPARE(r.exitCode, 3);
        QVERIFY(r.out.contains(QStringLiteral("Summe: 0 bereit, 2 bereits importiert")));
        QVERIFY(r.out.contains(QStringLiteral("Diese Datei wurde schon am")));
        QCOMPARE(inspectionCount(m_db), QStringLiteral("4"));
    }

    // The dry run and the import tell on stderr how far they are (into a
    // pipe: at least the last report of each), and nothing with --quiet.
    void importShowsProgressUnlessQuiet_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("reports");
        QTest::newRow("progress") << QStringList{}
                                  << QStringList{"Export wird geprüft: 2 von 2 Zeilen\n",
                                                 "Prüfungen werden importiert: 2 von 2 Zeilen\n"};
        QTest::newRow("quiet") << QStringList{"--quiet"} << QStringList{};
    }
    void importShowsProgressUnlessQuiet()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, reports);
        const QString db = m_folder + QStringLiteral("/Fortschritt %1.fdb").arg(QTest::currentDataTag());
        QCOMPARE(velmoraDb({"create", db}).exitCode, 0);
        const QString file = m_folder + QStringLiteral("/Prüfung Mai.csv");
        writeFile(file, "QR,Zeitpunkt,Sicht,RPE,RISO,IEA,Funktion,Ergebnis,Pr\xC3\xBC" "fer,Notiz\r\n"
                        "VPP1;K101;G1001;N85,2025-05-05 08:00:00,OK,0.07,19.99,0.25,OK,PASS,,\r\n"
                        "VPP1;K101;G1002;N86,2025-05-05 08:10:00,OK,0.09,19.99,0.20,OK,PASS,,\r\n");
        const TToolRun r = velmoraDb(QStringList{"import", db, file, "--profile", kExamples + "beispiel-qrcode.json",
                                                 "--geraet", "Mess 02"} + options);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("Importiert: 2 Prüfungen")), qPrintable(r.out));
        for (const QString &report : std::as_const(reports))
            QVERIFY2(r.err.contains(report), qPrintable(r.err));
        if (reports.isEmpty())
            QCOMPARE(r.err, QString());
    }

    // Exports and profiles in a deep folder with umlauts, as a firm's
    // network share has them: paths longer than any name column.
    void longPathsWithUmlauts()
    {
        const QString deep = m_folder + QStringLiteral("/Kunden Übersicht 2026/Prüfungen März bis Dezember/Messgerät Büro Süd");
        QVERIFY(QDir().mkpath(deep));
        const QString profile = deep + QStringLiteral("/Profil für das Messgerät im Büro.json");
        QVERIFY(QFile::copy(kExamples + "beispiel-semikolon.json", profile));
        const QString csv = deep + QStringLiteral("/Export vom Prüfgerät, Büro Süd, Dezember.csv");
        QVERIFY(QFile::copy(kExamples + "beispiel-semikolon.csv", csv));
        QVERIFY(profile.size() > 100);
        const TToolRun r = velmoraDb({"import", m_db, csv, "--profile", profile, "--geraet", "Mess 01", "--dry-run"});
        QVERIFY2(r.exitCode == 3, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("Summe: 1 bereit")));
        QVERIFY2(!r.err.contains("truncation"), qPrintable(r.err));
    }

    void errorsExitWithOne_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QString csv = kExamples + "beispiel-semikolon.csv";
        const QString json = kExamples + "beispiel-semikolon.json";
        QTest::newRow("unknown profile") << QStringList{csv, "--profile", "Gibtsnicht"} << "Importprofil „Gibtsnicht“";
        QTest::newRow("missing file") << QStringList{"/nirgends/x.csv", "--profile", json} << "kann nicht gelesen werden";
        QTest::newRow("instrument not chosen") << QStringList{csv, "--profile", json} << "Bitte Prüfgerät mit --geraet NAME wählen";
        QTest::newRow("unknown inspector") << QStringList{csv, "--profile", json, "--pruefer", "Fremd"} << "Prüfer „Fremd“ ist nicht angelegt";
        QTest::newRow("binary file") << QStringList{QStringLiteral(VELMORA_DB_TOOL), "--profile", json, "--geraet", "Mess 01"}
                                     << "Binärdaten";
        QTest::newRow("a device, endless") << QStringList{"/dev/zero", "--profile", json, "--geraet", "Mess 01"}
                                           << "/dev/zero ist keine gewöhnliche Datei";
        QTest::newRow("a file larger than any export") << QStringList{m_top.filePath("abbild.img"), "--profile", json, "--geraet", "Mess 01"}
                                                       << "ist 201 MB groß; der Export eines Prüfgeräts ist höchstens 200 MB groß";
    }
    void errorsExitWithOne()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const TToolRun r = velmoraDb(QStringList{"import", m_db} + args);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
    }

    void misuseExitsWithTwo()
    {
        QCOMPARE(velmoraDb({"import", m_db}).exitCode, 2);
        QCOMPARE(velmoraDb({"import", m_db, "x.csv"}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestVelmoraDbImport)
#include "tst_velmoradb_import.moc"
