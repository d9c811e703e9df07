// "velmora-db due": the due list for scripts, as CSV on stdout or as the
// "Faelligkeiten" report in a PDF file. The tool runs on today's date, so
// the fixture's dates are set relative to it.
#include "TestDatabase.h"
#include "ToolRun.h"
#include <QtTest>

namespace {
QString day(int fromToday)
{
    return QDate::currentDate().addDays(fromToday).toString(Qt::ISODate);
}

QString device(int id, const QString &name, int customer, int active = 1)
{
    return QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, "
                          "PRUEFINTERVAL, KUNDEN_ID, AKTIV) "
                          "VALUES (%1, '%2', %1, 'Halle; Süd', 12, %3, %4)")
        .arg(id)
        .arg(name)
        .arg(customer)
        .arg(active);
}

QString inspection(int id, int device, int nextFromToday)
{
    return QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, "
                          "PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
                          "VALUES (%1, '2020-01-01 09:00', '%2 09:00', 11, 12, %3)")
        .arg(id)
        .arg(day(nextFromToday))
        .arg(device);
}

// Beside the demo customer 101 (printer overdue since 2015, microwave never
// inspected): customer 102 with devices due 5 days ago, in 10 and in 50
// days and an inactive one, and the inactive customer 103.
const QStringList kDueWorld = {
    QStringLiteral("INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (102, 'Müller; "
                   "Söhne', 1)"),
    QStringLiteral("INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (103, 'Ruhende "
                   "Firma', 0)"),
    device(2001, QStringLiteral("=SUMME(1)"), 102),
    device(2002, QStringLiteral("Säge \"groß\""), 102),
    device(2003, QStringLiteral("Später"), 102),
    device(2004, QStringLiteral("Ausgemustert"), 102, 0),
    device(3001, QStringLiteral("Ruhend"), 103),
    inspection(5001, 2001, -5),
    inspection(5002, 2002, 10),
    inspection(5003, 2003, 50),
};

// One customer per European spelling (IDs from 111), each with one device
// of the same name, overdue since 3 days.
const QStringList kSpellings = {QStringLiteral("Yılmaz"), QStringLiteral("Łukasiewicz"), QStringLiteral("Dvořák"),
                                QStringLiteral("€")};

void fill(const QString &path, const QStringList &statements)
{
    TDatabase db;
    db.params = TTestDatabase::connectionParams();
    db.setDatabaseName(path);
    db.open();
    TTransaction transaction(&db, &db);
    for (const QString &sql : statements) {
        TQuery q(&db);
        q.setSql(sql);
        q.execQuery();
    }
    transaction.commit();
    db.close();
}

QStringList spellingWorld()
{
    QStringList statements;
    for (int i = 0; i < kSpellings.size(); ++i) {
        statements << QStringLiteral("INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (%1, '%2', 1)").arg(111 + i).arg(kSpellings[i])
                   << device(2101 + i, kSpellings[i], 111 + i) << inspection(5101 + i, 2101 + i, -3);
    }
    return statements;
}

QStringList csvRows(const QString &out)
{
    return out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

class TestVelmoraDbDue : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db;
    QString m_spellingsDb;

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QDir(m_dir.path()).mkdir("Fällige Prüfungen");
        m_db = m_dir.filePath("Fällige Prüfungen/DEMO.FDB");
        QCOMPARE(velmoraDb({"create", m_db}).exitCode, 0);
        fill(m_db, kDueWorld);
        m_spellingsDb = m_dir.filePath("Fällige Prüfungen/SCHREIBWEISEN.FDB");
        QCOMPARE(velmoraDb({"create", m_spellingsDb}).exitCode, 0);
        fill(m_spellingsDb, spellingWorld());
    }

    // Names in any European spelling reach the CSV and the PDF as written.
    void spellingsInCsvAndPdf_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < kSpellings.size(); ++i)
            QTest::newRow(qPrintable(kSpellings[i])) << i;
    }
    void spellingsInCsvAndPdf()
    {
        QFETCH(int, index);
        const QString name = kSpellings[index];
        const QString customer = QString::number(111 + index);
        const TToolRun csv = velmoraDb({"due", m_spellingsDb, "--csv", "--customer", customer});
        QVERIFY2(csv.exitCode == 0, qPrintable(csv.err));
        const QString threeAgo = QDate::currentDate().addDays(-3).toString("dd.MM.yyyy");
        QCOMPARE(csvRows(csv.out).mid(1), QStringList{QStringLiteral("%1;%2;%3;%3;%2;\"Halle; Süd\";%4;-3;überfällig")
                                                          .arg(customer, name, QString::number(2101 + index), threeAgo)});
        const QString pdf = m_dir.filePath("Fällige Prüfungen/fällig %1.pdf").arg(index);
        const TToolRun report = velmoraDb({"due", m_spellingsDb, "--customer", customer, "--out", pdf});
        QVERIFY2(report.exitCode == 0, qPrintable(report.err));
        const QString text = runTool("pdftotext", {"-layout", pdf, "-"}).out;
        QVERIFY2(text.count(name) >= 2, qPrintable(name + " in " + text)); // the customer and the device
    }

    void csvForSpreadsheets()
    {
        const TToolRun r = velmoraDb({"due", m_db, "--csv"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QStringList rows = csvRows(r.out);
        QCOMPARE(rows.value(0), QStringLiteral("Kunden-Nr.;Kunde;Prüfling-ID;Nummer;Bezeichnung;"
                                               "Standort;Nächste Prüfung;"
                                               "Tage bis fällig;Status"));
        const QString ten = QDate::currentDate().addDays(10).toString("dd.MM.yyyy");
        const QString fiveAgo = QDate::currentDate().addDays(-5).toString("dd.MM.yyyy");
        QCOMPARE(rows.mid(1), QStringList({
                                  "101;Demo-Kunde;1002;86;Mikrowelle;Raum 11;;;nie geprüft",
                                  "101;Demo-Kunde;1001;85;Drucker;Raum 10;10.01.2015;" +
                                      QString::number(QDate::currentDate().daysTo(QDate(2015, 1, 10))) + ";überfällig",
                                  "102;\"Müller; Söhne\";2001;2001;'=SUMME(1);\"Halle; Süd\";" + fiveAgo + ";-5;überfällig",
                                  "102;\"Müller; Söhne\";2002;2002;\"Säge "
                                  "\"\"groß\"\"\";\"Halle; Süd\";" +
                                      ten + ";10;fällig",
                              }));
    }

    // A byte order mark tells spreadsheets the file is UTF-8.
    void csvStartsWithByteOrderMark()
    {
        QProcess p;
        p.start(QStringLiteral(VELMORA_DB_TOOL), {"due", m_db, "--csv"});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(p.readAllStandardOutput().startsWith("\xEF\xBB\xBFKunden-Nr.;"));
    }

    void horizonAndCustomer_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QList<int>>("devices");
        QTest::newRow("in 30 days") << QStringList{} << QList<int>{1002, 1001, 2001, 2002};
        QTest::newRow("within 60 days") << QStringList{"--within", "60"} << QList<int>{1002, 1001, 2001, 2002, 2003};
        QTest::newRow("within 0 days") << QStringList{"--within", "0"} << QList<int>{1002, 1001, 2001};
        QTest::newRow("until a day") << QStringList{"--until", day(10)} << QList<int>{1002, 1001, 2001, 2002};
        QTest::newRow("until the day before") << QStringList{"--until", day(9)} << QList<int>{1002, 1001, 2001};
        QTest::newRow("one customer") << QStringList{"--customer", "102", "--within", "90"} << QList<int>{2001, 2002, 2003};
        QTest::newRow("inactive customer") << QStringList{"--customer", "103"} << QList<int>{};
    }
    void horizonAndCustomer()
    {
        QFETCH(QStringList, options);
        QFETCH(QList<int>, devices);
        const TToolRun r = velmoraDb(QStringList{"due", m_db, "--csv"} + options);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        // The device key follows the customer's key and quoted name.
        static const QRegularExpression key(QStringLiteral("^\\d+;(?:\"[^\"]*\"|[^;]*);(\\d+);"));
        QList<int> listed;
        for (const QString &row : csvRows(r.out).mid(1))
            listed << key.match(row).captured(1).toInt();
        QCOMPARE(listed, devices);
    }

    void pdfReport()
    {
        const QString pdf = m_dir.filePath("Fällige Prüfungen/fällig.pdf");
        const TToolRun r = velmoraDb({"due", m_db, "--within", "60", "--out", pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(r.out.contains("Bericht geschrieben"));
        const QString text = runTool("pdftotext", {"-layout", pdf, "-"}).out.simplified();
        const QString until = QDate::currentDate().addDays(60).toString("dd.MM.yyyy");
        for (const QString &shown : {QStringLiteral("Fälligkeiten"), QStringLiteral("Kunden alle Kunden"),
                                     "Zeitraum in 60 Tagen (bis " + until + ")", QStringLiteral("2 fällige Prüflinge"),
                                     QStringLiteral("3 fällige Prüflinge"), QStringLiteral("Fällige Prüflinge insgesamt 5")})
            QVERIFY2(text.contains(shown), qPrintable(shown + " in " + text));
        QVERIFY(runTool("pdfinfo", {pdf}).out.contains(QRegularExpression("Subject:\\s+Fälligkeiten")));
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no output") << QStringList{"due", "DB"} << 2 << "Genau eines von --out";
        QTest::newRow("both outputs") << QStringList{"due", "DB", "--csv", "--out", "x.pdf"} << 2 << "Genau eines von --out";
        QTest::newRow("both horizons") << QStringList{"due", "DB", "--csv", "--within", "5", "--until", "2027-01-01"} << 2
                                       << "Nur eines von --until und --within";
        QTest::newRow("bad day") << QStringList{"due", "DB", "--csv", "--until", "31.12.2026"} << 2 << "JJJJ-MM-TT";
        QTest::newRow("negative days") << QStringList{"due", "DB", "--csv", "--within", "-3"} << 2 << "Zahl von Tagen";
        QTest::newRow("unknown customer") << QStringList{"due", "DB", "--csv", "--customer", "999"} << 1
                                          << "Einen Kunden mit der Nummer 999 gibt es nicht.";
        QTest::newRow("missing database") << QStringList{"due", "fehlt.fdb", "--csv"} << 1 << "gibt es nicht";
    }
    void refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        args.replaceInStrings(QRegularExpression("^DB$"), m_db);
        args.replaceInStrings(QRegularExpression("^x\\.pdf$"), m_dir.filePath("x.pdf"));
        const TToolRun r = velmoraDb(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath("x.pdf")));
    }
};

QTEST_MAIN(TestVelmoraDbDue)
#include "tst_velmoradb_due.moc"
