// "velmora-db anchor" and "verify --anchor" on real files in a folder with
// an umlaut and a space: an anchor stays valid while the chain grows, and
// shows a chain that someone with full access computed anew after a change,
// which verify alone cannot see.
#include "VerifyFiles.h"
#include "Fingerprints.h"
#include "ScriptedDialogs.h"
#include <QtTest>

namespace {

// What someone with full access does to hide a change: every entry's text
// and value computed anew from the stored data, each naming the one before.
void recomputeChain(const Files &f)
{
    TDatabase database;
    TTransaction t(&database);
    attach(database, f.db());
    TQuery entries(&database);
    entries.setSql("SELECT NR, PRUEFUNG_ID, ART FROM FINGERABDRUECKE ORDER BY NR");
    QList<std::tuple<qint64, int, FingerprintKind>> rows;
    for (entries.execQuery(); !entries.eof(); entries.next())
        rows.append({entries.asInteger(0), int(entries.asInteger(1)), *fingerprintKindFromText(entries.asString(2))});
    entries.close();
    TQuery rewrite(&database);
    rewrite.setSql("UPDATE FINGERABDRUECKE SET INHALT = :INHALT, WERT = :WERT WHERE NR = :NR");
    QString previous;
    TQuery identity(&database);
    identity.setSql("SELECT KENNUNG FROM DATENBANK_KENNUNG");
    identity.execQuery();
    const QString databaseIdentity = identity.asString(0);
    identity.close();
    for (const auto &[nr, pruefungId, kind] : rows) {
        const QString body = kind == FingerprintKind::Identity ? canonicalIdentityBody(databaseIdentity)
                                                               : canonicalInspectionBody(database, pruefungId, kind);
        const QString content = body + "VORHER=" + previous + "\n";
        previous = sha256Hex(content);
        rewrite.paramByName("INHALT").setAsString(content);
        rewrite.paramByName("WERT").setAsString(previous);
        rewrite.paramByName("NR").setAsInteger(nr);
        rewrite.execQuery();
    }
    t.commit();
}

// A change saved in the program: the chain grows by one.
void saveInProgram(const Files &f)
{
    TScriptedDialogs dialogs;
    saveInsulationInProgram(f.db());
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
}

// The anchor of the file, written with --out, dated 1 March 2026 so that
// its findings name a known day.
QString anchorOf(Files &f)
{
    const QString path = f.file("Anker März.txt");
    const TToolRun r = velmoraDb({"anchor", f.db(), "--out", path});
    if (r.exitCode != 0)
        return {};
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(in.readAll());
    in.close();
    text.replace(QRegularExpression("ERSTELLT=[^\n]*"), "ERSTELLT=2026-03-01T09:30:00");
    writeText(path, text.toUtf8());
    return path;
}

} // namespace

class TestVelmoraDbAnchor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void anchorNamesTheHead()
    {
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        saveInProgram(f);
        const TToolRun r = velmoraDb({"anchor", f.db()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("VELMORA-ANKER 1"));
        QCOMPARE(lines[1], "DATENBANK=" + f.db());
        QVERIFY(QDateTime::fromString(lines[2].mid(9), Qt::ISODate).isValid());
        // The demo's two inspections, the database's identity, the save.
        QCOMPARE(lines[3], QStringLiteral("EINTRAEGE=4"));
        const QString head = lines[4].mid(5);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE WHERE NR = 4 AND WERT = '" + head + "'"), 1);
    }

    // The text and, beside it, the page to sign and file.
    void outWritesTextAndPage()
    {
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        const QString text = f.file("Anker März.txt");
        const TToolRun r = velmoraDb({"anchor", f.db(), "--out", text});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString pdf = f.file("Anker März.pdf");
        QCOMPARE(r.out.trimmed(), QStringLiteral("Anker geschrieben: %1 und %2").arg(text, pdf));
        QFile in(text);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QString head = QString::fromUtf8(in.readAll()).section("KOPF=", 1).trimmed();
        QCOMPARE(head.size(), 64);
        const QString page = runTool("pdftotext", {"-layout", pdf, "-"}).out.simplified();
        QVERIFY2(page.contains("Anker der Fingerabdrücke"), qPrintable(page));
        QVERIFY2(page.contains("Einträge: 3"), qPrintable(page));
        QVERIFY2(page.contains("Kopf: " + head.left(8) + ' ' + head.mid(8, 8)), qPrintable(page));
        QVERIFY2(page.contains(head.right(8)), qPrintable(page));
        QVERIFY2(page.contains("Unterschrift / Datum: ____"), qPrintable(page));
    }

    void verifyAgainstAnchor_data()
    {
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("verifyAlone");
        QTest::addColumn<int>("withAnchor");
        QTest::addColumn<QString>("finding");
        QTest::newRow("nothing") << "" << 0 << 0 << "";
        QTest::newRow("more inspections saved") << "saved" << 0 << 0 << "";
        QTest::newRow("chain computed anew after a change")
            << "recomputed" << 0 << 1
            << "Der Anker vom 01.03.2026 passt nicht mehr: Eintrag 3 hat einen anderen Fingerabdruck";
        QTest::newRow("anchored entry deleted")
            << "deleted" << 1 << 1 << "Der Anker vom 01.03.2026 passt nicht mehr: Eintrag 3 fehlt in der Kette.";
    }
    void verifyAgainstAnchor()
    {
        QFETCH(QString, after);
        QFETCH(int, verifyAlone);
        QFETCH(int, withAnchor);
        QFETCH(QString, finding);
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        const QString anchor = anchorOf(f);
        QVERIFY(!anchor.isEmpty());
        if (after == u"saved") {
            saveInProgram(f);
        } else if (after == u"recomputed") {
            f.sql("UPDATE PRUEFUNGEN SET SCHUTZLEITWIDERSTAND = 0.01 WHERE ID = 10001");
            recomputeChain(f);
        } else if (after == u"deleted") {
            f.sql("DELETE FROM FINGERABDRUECKE WHERE NR = 3");
        }
        TToolRun r = velmoraDb({"verify", f.db()});
        QVERIFY2(r.exitCode == verifyAlone, qPrintable(r.out + r.err));
        r = velmoraDb({"verify", f.db(), "--anchor", anchor});
        QVERIFY2(r.exitCode == withAnchor, qPrintable(r.out + r.err));
        if (!finding.isEmpty())
            QVERIFY2(r.out.contains("- " + finding), qPrintable(r.out));
    }

    void unreadableAnchor_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const QByteArray whole = "VELMORA-ANKER 1\nDATENBANK=a.fdb\nERSTELLT=2026-03-01T09:30:00\nEINTRAEGE=2\nKOPF=" +
                                 QByteArray(64, 'a') + "\n";
        QTest::newRow("truncated") << whole.left(whole.indexOf("KOPF=") + 20) << "kann nicht gelesen werden: Die Datei ist kein";
        QTest::newRow("garbled") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << "kann nicht gelesen werden: Die Datei ist kein";
        QTest::newRow("empty") << QByteArray() << "kann nicht gelesen werden: Die Datei ist kein";
        QTest::newRow("no number") << QByteArray(whole).replace("EINTRAEGE=2", "EINTRAEGE=zwei") << "Die Datei ist kein";
        QTest::newRow("missing") << QByteArray("-") << "gibt es nicht.";
    }
    void unreadableAnchor()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        const QString anchor = f.file("Anker kaputt.txt");
        if (content != "-")
            writeText(anchor, content);
        const TToolRun r = velmoraDb({"verify", f.db(), "--anchor", anchor});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    // Into a folder that does not exist: said in German, and no file at all.
    void outIntoMissingFolder()
    {
        Files f;
        QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        const QString folder = f.file("fehlt");
        const TToolRun r = velmoraDb({"anchor", f.db(), "--out", folder + "/anker.txt"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Den Ordner von"), qPrintable(r.err));
        QVERIFY2(r.err.contains("gibt es nicht."), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(QDir(f.file("")).entryList(QDir::Files), QStringList{"VELMORA.FDB"});
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("upgraded");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("without file") << QStringList{"anchor"} << true << 2 << "Aufruf:";
        QTest::newRow("--out without file") << QStringList{"anchor", "DB", "--out"} << true << 2 << "--out ohne Datei";
        QTest::newRow("--out naming the page") << QStringList{"anchor", "DB", "--out", "anker.pdf"} << true << 2
                                                << "die PDF-Datei entsteht daneben";
        QTest::newRow("--anchor without file") << QStringList{"verify", "DB", "--anchor"} << true << 2 << "--anchor ohne Datei";
        QTest::newRow("missing database") << QStringList{"anchor", "fehlt.fdb"} << true << 1 << "Die Datei fehlt.fdb gibt es nicht.";
        QTest::newRow("file from before fingerprints") << QStringList{"anchor", "DB"} << false << 1
                                                       << "hat noch keine Fingerabdrücke";
    }
    void refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, upgraded);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        Files f;
        if (upgraded)
            QCOMPARE(velmoraDb({"upgrade", f.db()}).exitCode, 0);
        args.replaceInStrings(QRegularExpression("^DB$"), f.db());
        const TToolRun r = velmoraDb(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVelmoraDbAnchor)
#include "tst_velmoradb_anchor.moc"
