// "velmora-db labels": label sheets and rolls from the command line, on a
// database in a folder with an umlaut and a space, read back with
// pdfinfo, pdftotext and zxing-cpp.
#include "AppHome.h"
#include "LabelDayData.h"
#include "QrDecode.h"
#include "TestDatabase.h"
#include "ToolRun.h"
#include <QtTest>

class TestVelmoraDbLabels : public QObject {
    Q_OBJECT
    std::unique_ptr<TAppHome> m_home;
    QString m_out;

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        m_home = std::make_unique<TAppHome>();
        m_home->createDatabase(labelday::changes());
        m_out = m_home->dir.filePath(QStringLiteral("Prüf ordner/Etiketten für heute.pdf"));
    }

    void writesLabels_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("pageSize"); // as pdfinfo gives it, in whole points
        QTest::addColumn<QStringList>("rollPayloads"); // each page's code, for rolls
        QTest::newRow("a day on A4 3×8") << QStringList{"--day", "300", "2026-12-01", "--stock", "a4-3x8"}
                                         << "26 Etiketten auf 2 Seiten" << "595 x 842" << QStringList{};
        QTest::newRow("two devices on a roll")
            << QStringList{"--device", "3000", "3003", "--stock", "rolle-62x29"} << "2 Etiketten auf 2 Seiten" << "176 x 82"
            << QStringList{labelday::payload(0), labelday::payload(3)};
        QTest::newRow("a roll of its own size, repeated --device")
            << QStringList{"--device", "3001", "--device", "3025", "--stock", "rolle-100x50"} << "2 Etiketten auf 2 Seiten"
            << "283 x 142" << QStringList{labelday::payload(1), labelday::payload(25)};
        QStringList many{"--device", "3000", "3001"};
        for (int id = 90001; id <= 91600; ++id) // more keys than the engine takes in one list
            many << QString::number(id);
        QTest::newRow("1,602 devices, two with labels") << many + QStringList{"--stock", "a4-3x8"} << "2 Etiketten auf 1 Seite"
                                                        << "595 x 842" << QStringList{};
        QTest::newRow("the last free position of a sheet") << QStringList{"--device", "3001", "3002", "--stock", "a4-4x10", "--first", "40"}
                                                           << "2 Etiketten auf 2 Seiten" << "595 x 842" << QStringList{};
    }
    void writesLabels()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        QFETCH(QString, pageSize);
        QFETCH(QStringList, rollPayloads);
        QFile::remove(m_out);
        const TToolRun r = velmoraDb(QStringList{"labels", m_home->dbPath} + args + QStringList{"--out", m_out});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(said), qPrintable(r.out));
        const QString info = runTool("pdfinfo", {m_out}).out;
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+" + QRegularExpression::escape(pageSize) + " pts")), qPrintable(info));
        const QString text = runTool("pdftotext", {m_out, "-"}).out;
        QVERIFY2(text.contains("Elektro Jürgens") && text.contains("03/2027"), qPrintable(text));
        const QList<QImage> pages = pdfPageImages(m_out, 200);
        for (int p = 0; p < rollPayloads.size(); ++p)
            QCOMPARE(decodeQrCodes(pages.value(p)).value(0).text, rollPayloads.at(p));
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown stock") << QStringList{"labels", "DB", "--device", "3000", "--stock", "a5", "--out", "x.pdf"} << 2
                                       << "Unbekanntes Etikettenmaterial: a5";
        QTest::newRow("devices and a day") << QStringList{"labels", "DB", "--device", "3000", "--day", "300", "2026-12-01", "--stock",
                                                          "a4-3x8", "--out", "x.pdf"}
                                           << 2 << "entweder --device oder --day";
        QTest::newRow("no devices") << QStringList{"labels", "DB", "--device", "--stock", "a4-3x8", "--out", "x.pdf"} << 2
                                    << "--device erwartet";
        QTest::newRow("no stock") << QStringList{"labels", "DB", "--device", "3000", "--out", "x.pdf"} << 2
                                  << "Es fehlt das Etikettenmaterial";
        QTest::newRow("no output") << QStringList{"labels", "DB", "--device", "3000", "--stock", "a4-3x8"} << 2 << "Es fehlt die Ausgabedatei";
        QTest::newRow("bad day") << QStringList{"labels", "DB", "--day", "300", "01.12.2026", "--stock", "a4-3x8", "--out", "x.pdf"} << 2
                                 << "JJJJ-MM-TT";
        QTest::newRow("position beyond the sheet")
            << QStringList{"labels", "DB", "--device", "3000", "--stock", "a4-3x8", "--first", "25", "--out", "x.pdf"} << 1
            << "zwischen 1 und 24";
        QTest::newRow("never inspected or unknown") << QStringList{"labels", "DB", "--device", "1002", "999", "--stock", "a4-3x8", "--out", "x.pdf"}
                                                    << 1 << "Kein Etikett für Prüfling 1002";
        QTest::newRow("a day without inspections") << QStringList{"labels", "DB", "--day", "300", "2026-12-02", "--stock", "a4-3x8", "--out", "x.pdf"}
                                                   << 1 << "es wurde keine Datei geschrieben";
        QTest::newRow("missing database") << QStringList{"labels", "fehlt.fdb", "--device", "3000", "--stock", "a4-3x8", "--out", "x.pdf"}
                                          << 1 << "gibt es nicht";
    }
    void refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString pdf = m_home->dir.filePath(QStringLiteral("Prüf ordner/x.pdf"));
        args.replaceInStrings(QRegularExpression("^DB$"), m_home->dbPath);
        args.replaceInStrings(QRegularExpression("^x\\.pdf$"), pdf);
        args.replaceInStrings(QRegularExpression("^fehlt\\.fdb$"), m_home->dir.filePath(QStringLiteral("Prüf ordner/fehlt.fdb")));
        const TToolRun r = velmoraDb(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestVelmoraDbLabels)
#include "tst_velmoradb_labels.moc"
