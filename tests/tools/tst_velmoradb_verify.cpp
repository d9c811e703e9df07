// "velmora-db verify" and "verify-pdf" on real files in a folder with an
// umlaut and a space: changes made with a database tool are found, a
// corrected inspection verifies with its version, a protocol PDF verifies
// and a copy whose text was edited by hand does not.
#include "VerifyFiles.h"
#include "ScriptedDialogs.h"
#include <QRegularExpression>
#include <QtTest>

namespace {

// Changes one letter of the protocol's text layer: qpdf writes the content
// streams uncompressed, where each glyph is drawn as "<0001> Tj"; the first
// one becomes its neighbour, so the length of the file stays the same.
QString editedCopy(const QString &pdf, const QString &target)
{
    const QString qdf = target + QStringLiteral(".qdf");
    if (runTool("qpdf", {"--qdf", "--object-streams=disable", pdf, qdf}).exitCode != 0)
        return {};
    QFile in(qdf);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = in.readAll();
    static const QRegularExpression glyph(QStringLiteral("<([0-9a-fA-F]{4})> Tj"));
    const QRegularExpressionMatch m = glyph.match(QString::fromLatin1(bytes), bytes.indexOf("\nBT\n"));
    if (!m.hasMatch())
        return {};
    const qsizetype at = m.capturedStart(1) + 3; // the last digit of the first glyph
    bytes[at] = bytes[at] == '1' ? '2' : '1';
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    out.write(bytes);
    return target;
}

} // namespace

class TestVelmoraDbVerify : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void soundDatabase()
    {
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        const TToolRun r = velmoraDb({"verify", f.db()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err + r.out));
        QVERIFY(r.out.startsWith("Alle 2 Prüfungen stimmen mit ihren Fingerabdrücken überein"));
        QVERIFY(r.out.contains("2 Prüfungen wurden vor der Einführung der Fingerabdrücke gespeichert"));
    }

    // verify reads what is there: a missing chain is a finding, and neither
    // an old file nor one whose chain was dropped is upgraded or rebuilt.
    void missingChainIsFoundNotRebuilt_data()
    {
        QTest::addColumn<bool>("upgradedFirst");
        QTest::addColumn<QString>("says");
        QTest::newRow("file from before fingerprints") << false << "Die Datei wurde noch nicht auf diese Programmversion";
        QTest::newRow("chain dropped") << true << "Die Fingerabdrücke fehlen";
    }
    void missingChainIsFoundNotRebuilt()
    {
        QFETCH(bool, upgradedFirst);
        QFETCH(QString, says);
        Files f;
        if (upgradedFirst) {
            QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
            // The procedures that append to the chain go first: they depend on it.
            f.sql("DROP PROCEDURE FINGERABDRUCK_ANHAENGEN");
            f.sql("DROP PROCEDURE FINGERABDRUCK_KOPF_SPERREN");
            f.sql("DROP TABLE FINGERABDRUECKE");
        }
        const QString tableCount =
            QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'FINGERABDRUECKE'");
        const TToolRun r = velmoraDb({"verify", f.db()});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains("Die Fingerabdrücke fehlen: die Datenbank hat keine Tabelle FINGERABDRUECKE."), qPrintable(r.out + r.err));
        QVERIFY2(r.out.contains(says), qPrintable(r.out));
        QVERIFY2(!(r.out + r.err).contains("Table unknown"), qPrintable(r.err));
        QCOMPARE(f.scalar(tableCount), 0);
    }

    // verify leaves the evidence as it was: the same bytes and time, an
    // older file not upgraded, a write-protected one checked through a
    // private copy that is gone afterwards.
    void leavesFileUntouched_data()
    {
        QTest::addColumn<bool>("upgradedFirst");
        QTest::addColumn<bool>("writeProtected");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("current file") << true << false << 0;
        QTest::newRow("file from before fingerprints") << false << false << 1;
        QTest::newRow("write-protected file") << true << true << 0;
    }
    void leavesFileUntouched()
    {
        QFETCH(bool, upgradedFirst);
        QFETCH(bool, writeProtected);
        QFETCH(int, exitCode);
        Files f;
        if (upgradedFirst)
            QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        if (writeProtected)
            QVERIFY(QFile::setPermissions(f.db(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QFile::Permissions mode = QFileInfo(f.db()).permissions();
        const int version = f.schemaVersion();
        const QByteArray bytes = f.sha256();
        const QDateTime time = f.modified();
        QTemporaryDir temporary;
        const QByteArray tmpdir = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        const TToolRun r = velmoraDb({"verify", f.db()});
        qputenv("TMPDIR", tmpdir);
        QVERIFY2(r.exitCode == exitCode, qPrintable(r.out + r.err));
        QCOMPARE(r.err.contains("Die Datei ist schreibgeschützt; geprüft wird eine Kopie."), writeProtected);
        QCOMPARE(f.sha256(), bytes);
        QCOMPARE(f.modified(), time);
        QCOMPARE(QFileInfo(f.db()).permissions(), mode);
        QCOMPARE(f.schemaVersion(), version);
        // Qt makes its runtime folder there when XDG_RUNTIME_DIR is not set.
        const QStringList left = QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(left.filter(QRegularExpression("^(?!runtime-)")), QStringList());
    }

    // Ctrl+C or SIGTERM while the file is copied: "Abgebrochen.", 128 plus
    // the signal, and neither the copy nor its folder is left behind.
    void signalEndsVerifyWithoutLeftovers_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("Ctrl+C") << "SIGINT" << 130;
        QTest::newRow("SIGTERM") << "SIGTERM" << 143;
    }
    void signalEndsVerifyWithoutLeftovers()
    {
        QFETCH(QString, signal);
        QFETCH(int, exitCode);
        if (QStandardPaths::findExecutable("strace").isEmpty())
            QSKIP("strace is missing");
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        const QByteArray bytes = f.sha256();
        QTemporaryDir temporary;
        QProcess p;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", temporary.path());
        p.setProcessEnvironment(environment);
        p.start("strace", {"-f", "-qq", "-o", "/dev/null", "-P", f.db(), "-e", "trace=read", "-e",
                           QStringLiteral("inject=read:signal=%1:when=2").arg(signal), VELMORA_DB_TOOL, "verify", f.db()});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY2(err.trimmed().endsWith("Abgebrochen."), qPrintable(err));
        const QStringList left = QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(left.filter(QRegularExpression("^(?!runtime-)")), QStringList());
        QCOMPARE(f.sha256(), bytes);
    }

    void findsChanges_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain SQL update") << "UPDATE PRUEFUNGEN SET SCHUTZLEITWIDERSTAND = 0.01 WHERE ID = 10002"
                                          << "Prüfung 10002: die gespeicherten Daten passen nicht mehr zu ihrem Fingerabdruck";
        QTest::newRow("gap") << "DELETE FROM FINGERABDRUECKE WHERE NR = 1" << "Lücke in der Kette: Eintrag 1 fehlt.";
        // Its inspection lost its only entry: not something inserted from outside.
        QTest::newRow("entry deleted") << "DELETE FROM FINGERABDRUECKE WHERE NR = 1"
                                       << "Prüfung 10001 hat keinen Fingerabdruck mehr: ihr Eintrag fehlt in der Kette";
    }
    void findsChanges()
    {
        QFETCH(QString, statement);
        QFETCH(QString, shown);
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        f.sql(statement);
        const TToolRun r = velmoraDb({"verify", f.db()});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains(shown), qPrintable(r.out));
    }

    void protocolPdf()
    {
        Files f;
        const QString pdf = f.protocol(10002, "protokoll.pdf");
        QVERIFY(!pdf.isEmpty());
        TToolRun r = velmoraDb({"verify-pdf", f.db(), pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err + r.out));
        QCOMPARE(r.out.trimmed(), QStringLiteral("Prüfung 10002 (Version 1): das Protokoll stimmt mit der Datenbank überein."));

        const QString edited = editedCopy(pdf, f.file("protokoll bearbeitet.pdf"));
        QVERIFY(!edited.isEmpty());
        QVERIFY(runTool("pdftotext", {edited, "-"}).out != runTool("pdftotext", {pdf, "-"}).out);
        r = velmoraDb({"verify-pdf", f.db(), edited});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains("Prüfung 10002: der Text des Protokolls weicht von der Datenbank ab"), qPrintable(r.out));
    }

    // Changed behind the program's back after its protocol: there is no
    // newer version to name, only the change.
    void protocolOfDataChangedOutside()
    {
        Files f;
        const QString pdf = f.protocol(10002, "protokoll.pdf");
        QVERIFY(!pdf.isEmpty());
        f.sql("UPDATE PRUEFUNGEN SET SCHUTZLEITWIDERSTAND = 0.01 WHERE ID = 10002");
        const TToolRun r = velmoraDb({"verify-pdf", f.db(), pdf});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains("Prüfung 10002: wurde nach diesem Protokoll außerhalb des Programms geändert; das Protokoll "
                                "zeigt Version 1."),
                 qPrintable(r.out));
    }

    // The protocol was written: the inspection is closed. A correction keeps
    // the database sound; the new protocol verifies as version 2, the old
    // one says that it shows version 1.
    void correctedInspection()
    {
        Files f;
        const QString before = f.protocol(10002, "vorher.pdf");
        {
            TScriptedDialogs dialogs;
            dialogs.texts.enqueue("Zahlendreher");
            saveInsulationInProgram(f.db());
            QCOMPARE(dialogs.shown.last().caption, QStringLiteral("Grund der Korrektur"));
        }
        TToolRun r = velmoraDb({"verify", f.db()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.out));
        QVERIFY(r.out.contains("1 Prüfung wurde nach ihrem Protokoll korrigiert"));

        const QString after = f.protocol(10002, "nachher.pdf");
        QVERIFY(runTool("pdftotext", {after, "-"}).out.contains("Grund: Zahlendreher (Version 2)"));
        r = velmoraDb({"verify-pdf", f.db(), after});
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
        QVERIFY(r.out.contains("Prüfung 10002 (Version 2): das Protokoll stimmt"));
        r = velmoraDb({"verify-pdf", f.db(), before});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains("Prüfung 10002: wurde nach diesem Protokoll geändert; das Protokoll zeigt Version 1, "
                                "gespeichert ist Version 2."),
                 qPrintable(r.out));
    }

    // Two files made the same way share their history, and the demo
    // inspection has the same fingerprint in both: only the identity that
    // the protocol prints tells them apart. A protocol printed before
    // identities existed names none and verifies as before.
    void protocolOfAnotherDatabase_data()
    {
        QTest::addColumn<bool>("otherDatabase");
        QTest::addColumn<bool>("printedBeforeIdentities");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");
        QTest::newRow("its own database") << false << false << 0 << "Prüfung 10002 (Version 1): das Protokoll stimmt";
        QTest::newRow("another database") << true << false << 1 << "Das Protokoll stammt aus einer anderen Datenbank";
        QTest::newRow("printed before identities") << false << true << 0 << "Prüfung 10002 (Version 1): das Protokoll stimmt";
    }
    void protocolOfAnotherDatabase()
    {
        QFETCH(bool, otherDatabase);
        QFETCH(bool, printedBeforeIdentities);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        Files a;
        Files b;
        for (Files *f : {&a, &b})
            QCOMPARE(velmoraDb({"upgrade", f->db()}).exitCode, 0);
        const QString fingerprintOfDemo = "SELECT COUNT(*) FROM FINGERABDRUECKE WHERE PRUEFUNG_ID = 10002 AND WERT = '%1'";
        if (printedBeforeIdentities)
            b.sql("UPDATE DATENBANK_KENNUNG SET ID = 2"); // no identity to print
        const QString pdf = b.protocol(10002, "protokoll.pdf");
        QVERIFY(!pdf.isEmpty());
        if (printedBeforeIdentities)
            b.sql("UPDATE DATENBANK_KENNUNG SET ID = 1");
        const QString text = runTool("pdftotext", {pdf, "-"}).out;
        static const QRegularExpression identityLine("Datenbank [0-9a-f]{8}\\b");
        QCOMPARE(text.contains(identityLine), !printedBeforeIdentities);
        const QString fingerprint = QRegularExpression("SHA-256 ([0-9a-f]{64})").match(text).captured(1);
        QCOMPARE(a.scalar(fingerprintOfDemo.arg(fingerprint)), 1); // the same history
        const TToolRun r = velmoraDb({"verify-pdf", (otherDatabase ? a : b).db(), pdf});
        QVERIFY2(r.exitCode == exitCode, qPrintable(r.out + r.err));
        QVERIFY2(r.out.contains(shown), qPrintable(r.out));
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("verify without file") << QStringList{"verify"} << 2 << "Aufruf:";
        QTest::newRow("verify-pdf without pdf") << QStringList{"verify-pdf", "DB"} << 2 << "Aufruf:";
        QTest::newRow("missing database") << QStringList{"verify", "fehlt.fdb"} << 1 << "Die Datei fehlt.fdb gibt es nicht.";
        QTest::newRow("missing pdf") << QStringList{"verify-pdf", "DB", "fehlt.pdf"} << 1 << "Die Datei fehlt.pdf gibt es nicht.";
        QTest::newRow("not a protocol") << QStringList{"verify-pdf", "DB", "INVENTAR"} << 1 << "steht kein Fingerabdruck";
    }
    void refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        Files f;
        const QString inventory = f.file("inventar.pdf");
        QCOMPARE(velmoraDb({"report", f.db(), "--inventory", "101", "--out", inventory}).exitCode, 0);
        args.replaceInStrings(QRegularExpression("^DB$"), f.db());
        args.replaceInStrings(QRegularExpression("^INVENTAR$"), inventory);
        const TToolRun r = velmoraDb(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TestVelmoraDbVerify)
#include "tst_velmoradb_verify.moc"
