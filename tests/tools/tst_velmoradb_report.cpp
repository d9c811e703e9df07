// "velmora-db report": the report PDFs from the command line, read back with
// pdftotext, pdffonts and pdfinfo.
#include "TestDatabase.h"
#include "ToolRun.h"
#include <QProcess>
#include <QtTest>

class TestVelmoraDbReport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db;

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QDir(m_dir.path()).mkdir("Prüfberichte");
        m_db = m_dir.filePath("Prüfberichte/DEMO.FDB");
        QCOMPARE(velmoraDb({"create", m_db}).exitCode, 0);
    }

    void writesReports_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("protocol") << QStringList{"--protocol", "10002"}
                                  << QStringList{"Prüfprotokoll", "Bericht-Nr. 85-10002", "≤ 0,30 Ω", "Demo-Kunde", "Seite 1 von 1"};
        QTest::newRow("day, passed only") << QStringList{"--day", "101", "2014-07-10", "--result", "passed"}
                                          << QStringList{"Bericht-Nr. 85-10002", "Die Prüfung wurde bestanden"};
        QTest::newRow("inventory due by a day, active devices")
            << QStringList{"--inventory", "101", "--due", "2015-02-01", "--devices", "active"}
            << QStringList{"Inventarliste", "Aktive Prüflinge, nur zu prüfen bis zum 01.02.2015", "Drucker", "Aufgeführte Prüflinge"};
    }
    void writesReports()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, shown);
        const QString pdf = m_dir.filePath("Prüfberichte/bericht.pdf");
        QFile::remove(pdf);
        const TToolRun r = velmoraDb(QStringList{"report", m_db} + args + QStringList{"--out", pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString text = runTool("pdftotext", {"-layout", pdf, "-"}).out.simplified();
        for (const QString &s : shown)
            QVERIFY2(text.contains(s), qPrintable(s + " in " + text));
        // Every font embedded, the metadata set, PDF/A-1b declared.
        const QStringList fonts = runTool("pdffonts", {pdf}).out.split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts)
            QVERIFY2(font.split(u' ', Qt::SkipEmptyParts).value(4) == u"yes", qPrintable(font));
        const QString info = runTool("pdfinfo", {pdf}).out;
        QVERIFY2(info.contains(QRegularExpression("Author:\\s+Demo-Auftragnehmer")), qPrintable(info));
        QVERIFY(info.contains(QRegularExpression("Title:\\s+Auswertung")));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("<pdfaid:part>1</pdfaid:part>"));
        QCOMPARE(runTool("qpdf", {"--check", pdf}).exitCode, 0);
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no report") << QStringList{"report", "DB", "--out", "x.pdf"} << 2 << "Es fehlt der Bericht";
        QTest::newRow("no output") << QStringList{"report", "DB", "--protocol", "10002"} << 2 << "Es fehlt die Ausgabedatei";
        QTest::newRow("bad day") << QStringList{"report", "DB", "--day", "101", "10.07.2014", "--out", "x.pdf"} << 2 << "JJJJ-MM-TT";
        QTest::newRow("bad result") << QStringList{"report", "DB", "--day", "101", "2014-07-10", "--result", "gut", "--out", "x.pdf"}
                                    << 2 << "Unbekannte Angabe: --result";
        QTest::newRow("unknown inspection") << QStringList{"report", "DB", "--protocol", "999", "--out", "x.pdf"} << 1
                                            << "nichts zu berichten";
        QTest::newRow("missing database") << QStringList{"report", "fehlt.fdb", "--protocol", "10002", "--out", "x.pdf"} << 1
                                          << "gibt es nicht";
    }
    void refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        args.replaceInStrings(QRegularExpression("^DB$"), m_db);
        args.replaceInStrings(QRegularExpression("^x\\.pdf$"), m_dir.filePath("x.pdf"));
        args.replaceInStrings(QRegularExpression("^fehlt\\.fdb$"), m_dir.filePath("fehlt.fdb"));
        const TToolRun r = velmoraDb(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(m_dir.filePath("x.pdf")));
    }
};

QTEST_GUILESS_MAIN(TestVelmoraDbReport)
#include "tst_velmoradb_report.moc"
