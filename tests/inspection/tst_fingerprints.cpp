// Records that prove they were not changed: the chain of fingerprints on a
// real database file, closed protocols with their corrections, and what a
// verification finds after changes made behind the program's back.
#include "ClosedInspections.h"
#include "DomainFixture.h"
#include "FingerprintCheck.h"
#include "Fingerprints.h"
#include <QCryptographicHash>
#include <QtTest>

namespace {

using Kind = TFingerprintFinding::Kind;

// The canonical text of the demo's first inspection, as the README documents it.
const char kDemoInspection[] = "VELMORA-FINGERABDRUCK 1\n"
                               "ART=nachgetragen\n"
                               "PRUEFUNG=10001\n"
                               "VERSION=1\n"
                               "KUNDE=101\n"
                               "PRUEFLING=1001\n"
                               "BEZEICHNUNG=\n"
                               "PRUEFDATUM=2014-01-12 18:33:00.0000\n"
                               "NEXT_PRUEFDATUM=2014-07-12 18:33:00.0000\n"
                               "PRUEFER=11\n"
                               "PRUEFGERAET=12\n"
                               "SICHTPRUEFUNG_BESTANDEN=1\n"
                               "SCHUTZLEITWIDERSTAND=0.0600\n"
                               "SCHUTZLEITWIDERSTAND_BESTANDEN=1\n"
                               "ISOLATIONSPRUEFUNG=19.9900\n"
                               "ISOLATIONSPRUEFUNG_BESTANDEN=1\n"
                               "ERSATZABLEITSTROM=\n"
                               "ERSATZABLEITSTROM_BESTANDEN=\n"
                               "DIFFERENZSTROM=\n"
                               "DIFFERENZSTROM_BESTANDEN=\n"
                               "BERUEHRUNGSSTROM=\n"
                               "BERUEHRUNGSSTROM_BESTANDEN=\n"
                               "FUNKTIONSPRUEFUNG_BESTANDEN=1\n"
                               "BEMERKUNG=\n"
                               "VORHER=\n";

struct ProtocolFixture : DomainFixture {
    // A statement as a database tool would run it, committed.
    void sql(const QString &statement)
    {
        TQuery q(&dm->Database);
        q.setSql(statement);
        q.execQuery();
        q.close();
        dm->Transaction.commitRetaining();
    }
    QString text(const QString &select)
    {
        TQuery q(&dm->Database);
        q.setSql(select);
        q.execQuery();
        return q.eof() ? QString() : q.asString(0);
    }
    // Moves to an inspection of the printer.
    void select(int pruefungId)
    {
        QVERIFY(inspections().locate(QStringLiteral("ID"), qint64(pruefungId)));
    }
    // Prints (as far as the data module knows) the protocol of one inspection.
    void handOver(int pruefungId)
    {
        dm->openReportPruefungenForInspection(pruefungId);
        dm->closeReportedInspections();
    }
    void changeRemark(int pruefungId, const QString &remark)
    {
        select(pruefungId);
        inspections().edit();
        inspection("BEMERKUNG")->setAsString(remark);
        inspections().post();
    }
    TFingerprintReport verify() { return verifyFingerprints(dm->Database); }
};

} // namespace

class TestFingerprints : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }
    void cleanup() { TClock::setFixedNow(QDateTime()); }

    // A file from before fingerprints: its inspections get them once, marked
    // as added later, in the documented canonical form.
    // The fingerprints are SHA-256 as anyone recomputes it.
    void digestsAreStandardSha256_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("abc") << QStringLiteral("abc");
        QTest::newRow("umlauts and beyond Latin-1") << QStringLiteral("Prüfung Łukasiewicz € Ø\n");
        QTest::newRow("one block exactly") << QString(64, u'x');
        QTest::newRow("large") << QString(1 << 20, u'ä');
    }
    void digestsAreStandardSha256()
    {
        QFETCH(QString, text);
        QCOMPARE(sha256Hex(text),
                 QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex()));
    }
    void abcIsTheKnownDigest()
    {
        QCOMPARE(sha256Hex(QStringLiteral("abc")), QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    }

    void summaryCountsFindings_data()
    {
        QTest::addColumn<int>("findings");
        QTest::addColumn<QString>("summary");
        QTest::newRow("one") << 1 << "Bei der Prüfung der Fingerabdrücke wurde 1 Abweichung gefunden:";
        QTest::newRow("many") << 10002 << "Bei der Prüfung der Fingerabdrücke wurden 10002 Abweichungen gefunden:";
    }
    void summaryCountsFindings()
    {
        QFETCH(int, findings);
        QFETCH(QString, summary);
        TFingerprintReport report;
        for (int i = 0; i < findings; ++i)
            report.findings << TFingerprintFinding{TFingerprintFinding::Kind::Changed, i + 1, QStringLiteral("geändert")};
        QCOMPARE(report.text().section(u'\n', 0, 0), summary);
    }

    void olderFileGetsFingerprintsAddedLater()
    {
        ProtocolFixture f;
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE WHERE ART = 'nachgetragen'"), 2);
        QCOMPARE(f.text("SELECT INHALT FROM FINGERABDRUECKE WHERE NR = 1"), QString::fromUtf8(kDemoInspection));
        const QString expected =
            QString::fromLatin1(QCryptographicHash::hash(QByteArray(kDemoInspection), QCryptographicHash::Sha256).toHex());
        QCOMPARE(f.text("SELECT WERT FROM FINGERABDRUECKE WHERE NR = 1"), expected);
        QVERIFY(f.text("SELECT INHALT FROM FINGERABDRUECKE WHERE NR = 2").endsWith("VORHER=" + expected + "\n"));
        const TFingerprintReport report = f.verify();
        QVERIFY2(report.sound(), qPrintable(report.text()));
        QCOMPARE(report.addedLater, 2);
        QVERIFY(report.text().contains("2 Prüfungen wurden vor der Einführung der Fingerabdrücke gespeichert"));

        // Opening it again adds nothing: the two and the database's identity.
        f.dm->Database.close();
        QVERIFY(f.dm->Connect());
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE"), 3);
    }

    // Storing inspections, one after another, extends the chain in the
    // transaction of each post; texts keep their line breaks recomputable.
    void everyPostExtendsTheChain()
    {
        ProtocolFixture f;
        TClock::setFixedNow(QDateTime(QDate(2026, 12, 10), QTime(9, 15, 30, 250)));
        for (const char *value : {"0,12", "0,13"}) {
            f.inspections().append();
            f.inspection("SCHUTZLEITWIDERSTAND")->setEditText(QString::fromLatin1(value));
            f.inspection("BEMERKUNG")->setAsString(QStringLiteral("Stecker getauscht\nÖse \\ Zugentlastung"));
            f.inspections().post();
        }
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE WHERE ART = 'erfasst'"), 2);
        const QString content = f.text("SELECT FIRST 1 INHALT FROM FINGERABDRUECKE ORDER BY NR DESC");
        QVERIFY2(content.contains("SCHUTZLEITWIDERSTAND=0.1300\n"), qPrintable(content));
        QVERIFY(content.contains("PRUEFDATUM=2026-12-10 09:15:30.2500\n"));
        QVERIFY(content.contains("NEXT_PRUEFDATUM=2027-12-10 00:00:00.0000\n"));
        QVERIFY(content.contains("BEMERKUNG=Stecker getauscht\\nÖse \\\\ Zugentlastung\n"));
        QVERIFY2(f.verify().sound(), qPrintable(f.verify().text()));

        // An inspection changed before its protocol is handed over: a new
        // entry, still sound; deleting it leaves its deletion in the chain.
        f.changeRemark(10001, QStringLiteral("nachgemessen"));
        f.select(10001);
        f.inspections().deleteRecord();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE WHERE ART = 'geloescht' AND PRUEFUNG_ID = 10001"), 1);
        QVERIFY2(f.verify().sound(), qPrintable(f.verify().text()));
    }

    // The bulk import fingerprints what it inserted, inside its transaction.
    void importedInspectionIsFingerprintedByKey()
    {
        ProtocolFixture f;
        TQuery q(&f.dm->Database);
        q.setSql("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                 "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) VALUES (20001, '2020-05-04 10:00', '2021-05-04', "
                 "11, 12, 1002, 1, 1)");
        q.execQuery();
        const QString value = fingerprintInspection(f.dm->Database, 20001);
        f.dm->Transaction.commitRetaining();
        QCOMPARE(latestFingerprint(f.dm->Database, 20001)->value, value);
        QVERIFY2(f.verify().sound(), qPrintable(f.verify().text()));
    }

    // Changes behind the program's back, each found by the verification.
    void verificationFindsChanges_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("pruefungId");
        QTest::addColumn<QString>("shown");
        QTest::newRow("value changed") << "UPDATE PRUEFUNGEN SET SCHUTZLEITWIDERSTAND = 0.05 WHERE ID = 10001"
                                       << int(Kind::Changed) << 10001 << "Prüfung 10001: die gespeicherten Daten passen nicht";
        QTest::newRow("flag changed") << "UPDATE PRUEFUNGEN SET SICHTPRUEFUNG_BESTANDEN = 0 WHERE ID = 10002"
                                      << int(Kind::Changed) << 10002 << "Prüfung 10002";
        QTest::newRow("remark added") << "UPDATE PRUEFUNGEN SET BEMERKUNG = 'alles gut' WHERE ID = 10002"
                                      << int(Kind::Changed) << 10002 << "Prüfung 10002";
        QTest::newRow("inspector swapped") << "UPDATE PRUEFUNGEN SET PRUEFGERAETE_ID = 11 WHERE ID = 10001"
                                           << int(Kind::Changed) << 10001 << "Prüfung 10001";
        QTest::newRow("device moved to another customer")
            << "UPDATE PRUEFLINGE SET KUNDEN_ID = 102 WHERE ID = 1001" << int(Kind::Changed) << 10001 << "Prüfung 10001";
        QTest::newRow("inspection deleted") << "DELETE FROM PRUEFUNGEN WHERE ID = 10002" << int(Kind::Missing) << 10002
                                            << "Prüfung 10002 fehlt";
        QTest::newRow("inspection inserted")
            << "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
               "VALUES (10050, '2015-01-01', '2016-01-01', 11, 12, 1002)"
            << int(Kind::Unfingerprinted) << 10050 << "Prüfung 10050 hat keinen Fingerabdruck";
        QTest::newRow("entry removed") << "DELETE FROM FINGERABDRUECKE WHERE NR = 1" << int(Kind::Gap) << 0
                                       << "Lücke in der Kette: Eintrag 1 fehlt.";
        QTest::newRow("entry rewritten") << "UPDATE FINGERABDRUECKE SET INHALT = 'x' WHERE NR = 2" << int(Kind::Broken)
                                         << 10002 << "Eintrag 2 (Prüfung 10002) wurde verändert";
        // The columns beside the hashed text are not evidence: a deletion
        // cannot be passed off as one through them.
        QTest::newRow("deletion hidden by the kind column")
            << "DELETE FROM PRUEFUNGEN WHERE ID = 10002; UPDATE FINGERABDRUECKE SET ART = 'geloescht' WHERE PRUEFUNG_ID = 10002"
            << int(Kind::Missing) << 10002 << "Prüfung 10002 fehlt";
        // The database's identity: kept readable and named by an entry of
        // the chain; neither can go or change alone.
        QTest::newRow("identity changed")
            << "UPDATE DATENBANK_KENNUNG SET KENNUNG = '0123456789abcdef0123456789abcdef'" << int(Kind::Identity) << 0
            << "Die Kennung der Datenbank (0123456789abcdef0123456789abcdef) ist nicht die, die die Kette nennt";
        QTest::newRow("identity removed") << "DELETE FROM DATENBANK_KENNUNG" << int(Kind::Identity) << 0
                                          << "Die Kennung der Datenbank fehlt";
        QTest::newRow("identity entry deleted") << "DELETE FROM FINGERABDRUECKE WHERE ART = 'identitaet'"
                                                << int(Kind::Identity) << 0
                                                << "Die Kette enthält keinen Eintrag mit der Kennung der Datenbank";
        QTest::newRow("identity entry given to an inspection")
            << "UPDATE FINGERABDRUECKE SET PRUEFUNG_ID = 10001 WHERE ART = 'identitaet'" << int(Kind::Broken) << 0
            << "seine Spalten sagen etwas anderes als sein Inhalt";
        QTest::newRow("entry moved to another inspection")
            << "UPDATE FINGERABDRUECKE SET PRUEFUNG_ID = 10001 WHERE NR = 2" << int(Kind::Broken) << 10002
            << "Eintrag 2 (Prüfung 10002) wurde verändert: seine Spalten sagen etwas anderes";
    }
    void verificationFindsChanges()
    {
        QFETCH(QString, statement);
        QFETCH(int, kind);
        QFETCH(int, pruefungId);
        QFETCH(QString, shown);
        ProtocolFixture f;
        f.sql("INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Zweitkunde')");
        QVERIFY(f.verify().sound());
        for (const QString &one : statement.split(u';'))
            f.sql(one.trimmed());
        const TFingerprintReport report = f.verify();
        QVERIFY(!report.sound());
        const bool found = std::any_of(report.findings.cbegin(), report.findings.cend(), [&](const TFingerprintFinding &x) {
            return int(x.kind) == kind && x.pruefungId == pruefungId;
        });
        QVERIFY2(found, qPrintable(report.text()));
        QVERIFY2(report.text().contains(shown), qPrintable(report.text()));
    }

    // Once its protocol is handed over, a change asks for its reason, keeps
    // the earlier version and still verifies.
    void correctionKeepsTheEarlierVersion()
    {
        ProtocolFixture f;
        f.handOver(10002);
        QVERIFY(isInspectionClosed(f.dm->Database, 10002));
        QVERIFY(!isInspectionClosed(f.dm->Database, 10001));
        TClock::setFixedNow(QDateTime(QDate(2026, 12, 10), QTime(14, 3)));
        f.dialogs.texts.enqueue(QStringLiteral("Messwert falsch abgelesen"));
        f.select(10002);
        f.inspections().edit();
        f.inspection("SCHUTZLEITWIDERSTAND")->setEditText("0,08");
        f.inspections().post();
        QCOMPARE(f.dialogs.shown.last().caption, QStringLiteral("Grund der Korrektur"));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN_VERSIONEN WHERE PRUEFUNG_ID = 10002 AND VERSION = 1 AND "
                          "SCHUTZLEITWIDERSTAND = 0.07"),
                 1);
        QCOMPARE(f.text("SELECT GRUND FROM PRUEFUNGEN_VERSIONEN WHERE PRUEFUNG_ID = 10002"), QString("Messwert falsch abgelesen"));
        const auto entry = latestFingerprint(f.dm->Database, 10002);
        QCOMPARE(entry->kind, QString("korrigiert"));
        QCOMPARE(entry->version, 2);
        const TFingerprintReport report = f.verify();
        QVERIFY2(report.sound(), qPrintable(report.text()));
        QCOMPARE(report.corrected, 1);

        // The protocol now says so.
        f.dm->openReportPruefungenForInspection(10002);
        TDataSet &r = f.dm->dsetReportPruefungen;
        QCOMPARE(r.fieldByName("Korrektur")->asString(), QString("Korrigiert am 10.12.2026 14:03 Grund: Messwert falsch abgelesen"));
        QCOMPARE(r.fieldByName("Version")->asString(), QString("Version 2"));
        QCOMPARE(r.fieldByName("Fingerabdruck")->asString(), entry->value);
        QCOMPARE(r.fieldByName("QrInhalt")->asString(), QString("VPF1;P10002;H" + entry->value));
        QCOMPARE(r.fieldByName("FingerabdruckKurz")->asString(), shortFingerprint(entry->value));

        // A second correction is version 3; the never-reported one stays as before.
        f.dialogs.texts.enqueue(QStringLiteral("Bemerkung ergänzt"));
        f.changeRemark(10002, QStringLiteral("Gehäuse gerissen"));
        QCOMPARE(latestFingerprint(f.dm->Database, 10002)->version, 3);
        const qsizetype asked = f.dialogs.shown.size();
        f.changeRemark(10001, QStringLiteral("ohne Frage"));
        QCOMPARE(f.dialogs.shown.size(), asked);
        QCOMPARE(latestFingerprint(f.dm->Database, 10001)->kind, QString("erfasst"));
        QVERIFY(f.verify().sound());
    }

    // Without a reason nothing is stored and the record stays in editing.
    void correctionWithoutReasonIsNotStored_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << true << QString();
        QTest::newRow("empty reason") << false << "Ohne Grund der Korrektur wird die Änderung nicht gespeichert.";
    }
    void correctionWithoutReasonIsNotStored()
    {
        QFETCH(bool, cancelled);
        QFETCH(QString, message);
        ProtocolFixture f;
        f.handOver(10002);
        if (!cancelled)
            f.dialogs.texts.enqueue(QStringLiteral("   "));
        f.select(10002);
        f.inspections().edit();
        f.inspection("SCHUTZLEITWIDERSTAND")->setEditText("0,09");
        QVERIFY_THROWS_EXCEPTION(EAbort, f.inspections().post());
        QCOMPARE(f.inspections().state(), TDataSetState::Edit);
        QCOMPARE(f.dialogs.messages().contains(message), !message.isEmpty());
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN_VERSIONEN"), 0);
        f.inspections().cancel();
        QCOMPARE(f.scalar("SELECT SCHUTZLEITWIDERSTAND * 100 FROM PRUEFUNGEN WHERE ID = 10002"), 7);
        QVERIFY(f.verify().sound());
    }

    // A closed inspection, and a device with one, cannot be deleted.
    void closedInspectionCannotBeDeleted()
    {
        ProtocolFixture f;
        f.handOver(10001);
        f.select(10001);
        QVERIFY_THROWS_EXCEPTION(EAbort, f.inspections().deleteRecord());
        QVERIFY(f.dialogs.messages().last().startsWith("Diese Prüfung ist abgeschlossen"));
        QVERIFY(f.dm->dsetPrueflinge.locate("ID", qint64(1001)));
        QVERIFY_THROWS_EXCEPTION(EAbort, f.devices().deleteRecord());
        QVERIFY(f.dialogs.messages().last().startsWith("Dieser Prüfling hat abgeschlossene Prüfungen"));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), 2);

        // The other device, with an inspection never reported, goes with it.
        f.sql("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
              "VALUES (10060, '2015-01-01', '2016-01-01', 11, 12, 1002)");
        fingerprintInspection(f.dm->Database, 10060);
        f.dm->Transaction.commitRetaining();
        QVERIFY(f.dm->dsetPrueflinge.locate("ID", qint64(1002)));
        f.devices().deleteRecord();
        QCOMPARE(latestFingerprint(f.dm->Database, 10060)->kind, QString("geloescht"));
        QVERIFY2(f.verify().sound(), qPrintable(f.verify().text()));
    }
};

QTEST_GUILESS_MAIN(TestFingerprints)
#include "tst_fingerprints.moc"
