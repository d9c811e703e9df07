// The dry run and the import against a real database file: exports in
// several dialects, bad input, batches and taking them back.
#include "DbError.h"
#include "DeviceFromRow.h"
#include "DomainFixture.h"
#include "DryRun.h"
#include "EuropeanSpellings.h"
#include "ExportFiles.h"
#include "ImportBatch.h"
#include "IndexStatistics.h"
#include "ManyDevices.h"
#include "RowsRead.h"
#include "ClosedInspections.h"
#include "FingerprintCheck.h"
#include "ProfileStore.h"
#include "UUpdateDB.h"
#include <QtTest>

Q_DECLARE_METATYPE(TDialect)

namespace {

const TImportChoice kChoice{11, 12}; // "Demo-Prüfer", "Mess 02"

struct ImportFixture : DomainFixture {
    explicit ImportFixture(const QStringList &changes = {}) : DomainFixture(changes)
    {
        TClock::setFixedNow(QDateTime(QDate(2025, 12, 1), QTime(12, 0)));
    }
    ~ImportFixture() override { TClock::setFixedNow({}); }
    TDryRun dryRun(const TDialect &dialect, const QList<QStringList> &rows)
    {
        return dryRunImport(dm->Database, profileFor(dialect), QStringLiteral("Messung Süd.csv"), exportBytes(dialect, rows),
                            kChoice);
    }
    TDryRun dryRun(const QByteArray &bytes, const TDialect &dialect = {})
    {
        return dryRunImport(dm->Database, profileFor(dialect), QStringLiteral("Messung.csv"), bytes, kChoice);
    }
    qint64 inspectionCount() { return scalar(QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN")); }
};

QList<QStringList> dayOfWork()
{
    QStringList microwave = printerRow(QStringLiteral("03.11.2025"), QStringLiteral("0.12"), QStringLiteral("bestanden"),
                                       QStringLiteral("86"));
    microwave[3] = QStringLiteral("09:30");
    QStringList failing = printerRow(QStringLiteral("04.11.2025"), QStringLiteral("0.45"), QStringLiteral("nicht bestanden"));
    return {printerRow(QStringLiteral("03.11.2025")), microwave, failing};
}

} // namespace

class TestImportBatch : public QObject {
    Q_OBJECT
    // One database for the cases that only read; each case that writes
    // has its own.
    std::unique_ptr<ImportFixture> m_shared;
    ImportFixture &shared()
    {
        if (!m_shared)
            m_shared = std::make_unique<ImportFixture>();
        return *m_shared;
    }
private slots:
    void cleanupTestCase() { m_shared.reset(); }

    void dialectsImportAndOnlyOnce_data()
    {
        QTest::addColumn<TDialect>("dialect");
        QTest::newRow("semicolon, decimal comma, Latin-1") << TDialect{u';', true, TextEncoding::Latin1, false, "\n"};
        QTest::newRow("comma, decimal point, UTF-8 with BOM") << TDialect{u',', false, TextEncoding::Utf8, true, "\n"};
        QTest::newRow("tab, CRLF, Windows-1252") << TDialect{u'\t', true, TextEncoding::Windows1252, false, "\r\n"};
        QTest::newRow("tab, CRLF, UTF-8") << TDialect{u'\t', false, TextEncoding::Utf8, false, "\r\n"};
    }
    void dialectsImportAndOnlyOnce()
    {
        QFETCH(TDialect, dialect);
        ImportFixture f;
        const qint64 before = f.inspectionCount();
        const TDryRun run = f.dryRun(dialect, dayOfWork());
        QVERIFY2(run.fileError.isEmpty(), qPrintable(run.fileError));
        QCOMPARE(run.rows.size(), 3);
        QCOMPARE(run.readyCount(), 3);
        const TImportRow &first = run.rows[0];
        QCOMPARE(first.line, 2);
        QCOMPARE(first.deviceId, 1001);
        QCOMPARE(first.deviceText, QStringLiteral("Drucker Nr. 85 (Demo-Kunde)"));
        QCOMPARE(first.when, QDateTime(QDate(2025, 11, 3), QTime(9, 15)));
        QCOMPARE(first.values[0]->toPlainString(), QStringLiteral("0.08"));
        QCOMPARE(first.values[1]->toPlainString(), QStringLiteral("19.99"));
        QVERIFY(!first.values[3]);
        QCOMPARE(first.remark, QStringLiteral("Stecker getauscht; geprüft"));
        QCOMPARE(run.rows[1].deviceId, 1002);
        // Our own limit (0.30 Ohm) fails the third row, as the instrument did.
        QCOMPARE(run.rows[2].passed[0], std::optional<bool>(false));
        QVERIFY(!run.rows[2].ourVerdict);
        QVERIFY(run.fileNotice.isEmpty());
        QCOMPARE(f.inspectionCount(), before); // a dry run writes nothing

        const TImportResult result = importDryRun(f.dm->Database, run);
        QCOMPARE(result.imported, 3);
        QCOMPARE(f.inspectionCount(), before + 3);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = 1001 AND SCHUTZLEITWIDERSTAND = 0.45 AND "
                          "SCHUTZLEITWIDERSTAND_BESTANDEN = 0 AND PRUEFGERAETE_ID = 12 AND PRUEFER_ID = 11 AND "
                          "NEXT_PRUEFDATUM = '2026-11-04' AND DIFFERENZSTROM IS NULL AND DIFFERENZSTROM_BESTANDEN IS NULL"),
                 qint64(1));

        const TDryRun again = f.dryRun(dialect, dayOfWork());
        QCOMPARE(again.count(RowState::AlreadyImported), 3);
        QVERIFY(again.fileNotice.contains(u"schon am 01.12.2025 um 12:00 importiert"));
        QCOMPARE(importDryRun(f.dm->Database, again).imported, 0);
        QCOMPARE(f.inspectionCount(), before + 3);
    }

    // The rows of an import change what the engine knows of its indexes:
    // the batch rows' indexes, empty before, have statistics afterwards.
    void importRecomputesIndexStatistics()
    {
        ImportFixture f;
        const QString unjudged = "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$RELATION_NAME = 'IMPORTZEILEN' "
                                 "AND COALESCE(RDB$STATISTICS, 0) = 0";
        QVERIFY(f.scalar(unjudged) > 0);
        QCOMPARE(importDryRun(f.dm->Database, f.dryRun(TDialect{}, dayOfWork())).imported, 3);
        QCOMPARE(f.scalar(unjudged), qint64(0));
    }

    // A few rows in a table that holds many more change no plan: its
    // statistics are left as they were, and reading all its indexes again is
    // not paid at every import. A table the statistics never counted is.
    void smallImportLeavesLargeTablesStatisticsAlone()
    {
        ImportFixture f({QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                                        "PRUEFLINGE_ID) SELECT GEN_ID(SEQ_PRUEFUNGEN, 1), '2020-01-01', '2021-01-01', 11, 12, "
                                        "1002 FROM RDB$TYPES ROWS 200")});
        recomputeIndexStatistics(f.dm->Database);
        const QString keyStatistics = "SELECT CAST(1 / i.RDB$STATISTICS AS INTEGER) FROM RDB$RELATION_CONSTRAINTS c JOIN "
                                      "RDB$INDICES i ON i.RDB$INDEX_NAME = c.RDB$INDEX_NAME WHERE c.RDB$RELATION_NAME = "
                                      "'PRUEFUNGEN' AND c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'";
        const qint64 counted = f.scalar(keyStatistics);
        QCOMPARE(counted, f.inspectionCount());
        QCOMPARE(importDryRun(f.dm->Database, f.dryRun(TDialect{}, dayOfWork())).imported, 3);
        QCOMPARE(f.scalar(keyStatistics), counted);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$RELATION_NAME = 'IMPORTZEILEN' "
                          "AND COALESCE(RDB$STATISTICS, 0) = 0"),
                 qint64(0));
    }

    void rowsThatAreNotReady_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<RowState>("state");
        QTest::addColumn<QString>("message");
        const QStringList ok = printerRow(QStringLiteral("03.11.2025"));
        const auto with = [&](int cell, const QString &text) {
            QStringList r = ok;
            r[cell] = text;
            return r;
        };
        QTest::newRow("unit attached") << with(5, "0.12 Ω") << RowState::NotANumber << "Einheit";
        QTest::newRow("unknown customer") << with(0, "Niemand GmbH") << RowState::UnknownCustomer << "„Niemand GmbH“ ist nicht angelegt";
        QTest::newRow("unknown device") << with(1, "4711") << RowState::UnknownDevice << "keinen Prüfling Nr. 4711";
        QTest::newRow("number with letters") << with(1, "A-12") << RowState::UnknownDevice << "keine ganze Zahl";
        QTest::newRow("date missing") << with(2, "") << RowState::DateMissing << "Datum fehlt";
        QTest::newRow("date in future") << with(2, "24.12.2025") << RowState::DateInFuture << "Zukunft";
        QTest::newRow("date unreadable") << with(2, "2025-11-03") << RowState::Invalid << "passt nicht zum Format";
        QTest::newRow("verdict differs") << with(12, "nicht bestanden") << RowState::VerdictDiffers << "nicht übernommen";
        QTest::newRow("unknown inspector") << with(4, "Fremder") << RowState::Invalid << "Prüfer „Fremder“";
        QTest::newRow("visual unreadable") << with(10, "?") << RowState::Invalid << "Sichtprüfung";
        QTest::newRow("too few columns") << ok.mid(0, 8) << RowState::TooFewColumns << "8 Spalten, das Profil braucht 14";
    }
    void rowsThatAreNotReady()
    {
        QFETCH(QStringList, row);
        QFETCH(RowState, state);
        QFETCH(QString, message);
        const TDryRun run = shared().dryRun(TDialect{u';', true, TextEncoding::Utf8, false, "\n"}, {row});
        QCOMPARE(run.rows.size(), 1);
        QCOMPARE(run.rows[0].state, state);
        QVERIFY2(run.rows[0].message().contains(message), qPrintable(run.rows[0].message()));
    }

    void rowsNotReadyAreLeftOut()
    {
        ImportFixture f;
        QStringList withUnit = printerRow(QStringLiteral("03.11.2025"));
        withUnit[5] = QStringLiteral("0,12 Ω");
        const TDryRun run = f.dryRun(TDialect{u';', true, TextEncoding::Utf8, false, "\n"},
                                     {withUnit, printerRow(QStringLiteral("05.11.2025"))});
        QCOMPARE(run.countsText(), QStringLiteral("1 bereit, 1 Wert keine Zahl"));
        QCOMPARE(run.leftOutText(), QStringLiteral("1 Wert keine Zahl"));
        const qint64 before = f.inspectionCount();
        QCOMPARE(importDryRun(f.dm->Database, run).imported, 1);
        QCOMPARE(f.inspectionCount(), before + 1);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFDATUM = '2025-11-03 09:15'"), qint64(0));
    }

    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileError");
        QTest::addColumn<int>("ready");
        QTest::addColumn<QString>("lastMessage");
        const TDialect d;
        const QByteArray good = exportBytes(d, {printerRow("03.11.2025"), printerRow("04.11.2025")});
        QTest::newRow("empty") << QByteArray() << "leer" << 0 << "";
        QTest::newRow("header only") << exportBytes(d, {}) << "keine Datenzeilen" << 0 << "";
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "Binärdaten" << 0 << "";
        QTest::newRow("truncated") << good.left(good.size() - 30) << "" << 1 << "abgeschnitten";
        QTest::newRow("open quote") << good + "Demo-Kunde;85;05.11.2025;\"09:" << "" << 2 << "offenen Anführungszeichen";
        QByteArray mixed = exportBytes(d, {printerRow("03.11.2025"), printerRow("04.11.2025"), printerRow("05.11.2025")});
        mixed.replace(mixed.indexOf('\n'), 1, "\r\n");
        mixed.replace(mixed.lastIndexOf('\n', mixed.size() - 2), 1, "\r");
        QTest::newRow("mixed line ends") << mixed << "" << 3 << "";
        QTest::newRow("not UTF-8 as said") << QByteArray() << "" << -1 << "";
    }
    void brokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileError);
        QFETCH(int, ready);
        QFETCH(QString, lastMessage);
        ImportFixture &f = shared();
        TDialect d;
        if (ready < 0) { // a Latin-1 file read with a UTF-8 profile
            bytes = exportBytes(d, {printerRow("03.11.2025")});
            d.encoding = TextEncoding::Utf8;
            fileError = QStringLiteral("nicht in UTF-8");
            ready = 0;
        }
        const TDryRun run = f.dryRun(bytes, d);
        QVERIFY2(run.fileError.contains(fileError), qPrintable(run.fileError));
        QCOMPARE(run.readyCount(), ready);
        if (!lastMessage.isEmpty())
            QVERIFY2(run.rows.last().message().contains(lastMessage), qPrintable(run.rows.last().message()));
        if (!fileError.isEmpty()) {
            QVERIFY(run.rows.isEmpty());
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, importDryRun(f.dm->Database, run));
        }
    }

    void labelPayloadFindsTheDevice()
    {
        ImportFixture &f = shared();
        TImportProfile p;
        p.name = QStringLiteral("QR");
        p.separator = u',';
        p.decimalComma = false;
        p.timeFormat = QStringLiteral("HH:mm");
        p.dateFormat = QStringLiteral("yyyy-MM-dd");
        p.setColumn(ImportField::Payload, 1);
        p.setColumn(ImportField::Date, 2);
        p.setColumn(ImportField::Visual, 3);
        p.setColumn(ImportField::Function, 4);
        p.setColumn(ImportField::Value0, 5);
        const QByteArray bytes = "QR,Zeit,S,F,RPE\n"
                                 "VPP1;K101;G1002;N086,2025-11-05 08:10,ok,ok,0.09\n"
                                 "VPP1;K102;G1002;N86,2025-11-05 08:11,ok,ok,0.09\n"
                                 "Drucker,2025-11-05 08:12,ok,ok,0.09\n";
        const TDryRun run = dryRunImport(f.dm->Database, p, QStringLiteral("qr.csv"), bytes, kChoice);
        QCOMPARE(run.rows.size(), 3);
        QCOMPARE(run.rows[0].deviceId, 1002);
        QVERIFY(run.rows[0].ready());
        QCOMPARE(run.rows[1].state, RowState::UnknownDevice); // the key of another customer's label
        QCOMPARE(run.rows[2].state, RowState::UnknownDevice);
        QVERIFY(run.rows[2].message().contains(u"kein QR-Code"));
    }

    void sameInspectionTwiceInOneFile()
    {
        ImportFixture &f = shared();
        const TDryRun run = f.dryRun(TDialect{}, {printerRow("03.11.2025"), printerRow("03.11.2025")});
        QCOMPARE(run.readyCount(), 1);
        QCOMPARE(run.rows[1].state, RowState::AlreadyImported);
        QVERIFY(run.rows[1].message().contains(u"Zeile 2"));
    }

    void batchIsListedAndUndone()
    {
        ImportFixture f;
        const qint64 before = f.inspectionCount();
        const TDryRun run = f.dryRun(TDialect{}, dayOfWork());
        const TImportResult result = importDryRun(f.dm->Database, run);
        const QList<TImportBatch> batches = importBatches(f.dm->Database);
        QCOMPARE(batches.size(), 1);
        QCOMPARE(batches[0].id, result.batchId);
        QCOMPARE(batches[0].fileName, QStringLiteral("Messung Süd.csv"));
        QCOMPARE(batches[0].sha256, QString::fromLatin1(run.sha256));
        QCOMPARE(batches[0].sha256.size(), 64);
        QCOMPARE(batches[0].profile, QStringLiteral("Testgerät"));
        QCOMPARE(batches[0].rows, 3);
        QCOMPARE(batches[0].inspector, QStringLiteral("Demo-Prüfer"));
        QCOMPARE(batches[0].importedAt, QDateTime(QDate(2025, 12, 1), QTime(12, 0)));
        QVERIFY(undoRefusal(f.dm->Database, result.batchId).isEmpty());
        // Imported inspections join the chain of fingerprints.
        QVERIFY2(verifyFingerprints(f.dm->Database).sound(), qPrintable(verifyFingerprints(f.dm->Database).text()));

        undoBatch(f.dm->Database, result.batchId);
        QCOMPARE(f.inspectionCount(), before);
        // The undone inspections leave deletion entries, not holes.
        QVERIFY2(verifyFingerprints(f.dm->Database).sound(), qPrintable(verifyFingerprints(f.dm->Database).text()));
        QVERIFY(importBatches(f.dm->Database)[0].undoneAt.isValid());
        QVERIFY(undoRefusal(f.dm->Database, result.batchId).contains(u"schon am"));
        // Undone, the same file imports again.
        const TDryRun again = f.dryRun(TDialect{}, dayOfWork());
        QCOMPARE(again.readyCount(), 3);
        QVERIFY(again.fileNotice.isEmpty());
        QCOMPARE(importDryRun(f.dm->Database, again).imported, 3);
    }

    // The dry run, the import and taking it back read the devices and
    // inspections the file's rows concern, however many the firm holds.
    void importReadsWhatItsRowsConcern()
    {
        const QStringList tables = {"PRUEFLINGE", "PRUEFUNGEN"};
        qint64 read[2] = {};
        for (const int other : {0, 300}) {
            ImportFixture f(other ? customerWithDevices(201, other) : QStringList());
            const qint64 before = rowsRead(f.dm->Database, tables);
            const TImportResult result = importDryRun(f.dm->Database, f.dryRun(TDialect{}, dayOfWork()));
            QCOMPARE(result.imported, 3);
            undoBatch(f.dm->Database, result.batchId);
            read[other ? 1 : 0] = rowsRead(f.dm->Database, tables) - before;
        }
        QCOMPARE(read[1], read[0]);
    }

    // A protocol handed over is evidence: its batch is not taken back.
    void batchWithHandedOverProtocolIsNotUndone()
    {
        ImportFixture f;
        const TImportResult result = importDryRun(f.dm->Database, f.dryRun(TDialect{}, dayOfWork()));
        TQuery ids(&f.dm->Database);
        ids.setSql(QStringLiteral("SELECT FIRST 1 PRUEFUNGEN_ID FROM IMPORTZEILEN WHERE IMPORTSTAPEL_ID = %1").arg(result.batchId));
        ids.execQuery();
        closeInspections(f.dm->Database, {static_cast<int>(ids.asInteger(0))});
        ids.close();
        QVERIFY2(undoRefusal(f.dm->Database, result.batchId).contains(u"gedruckt oder gespeichert"),
                 qPrintable(undoRefusal(f.dm->Database, result.batchId)));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, undoBatch(f.dm->Database, result.batchId));
    }

    void changedBatchIsNotUndone_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("value edited") << "UPDATE PRUEFUNGEN SET SCHUTZLEITWIDERSTAND = 0.09 WHERE SCHUTZLEITWIDERSTAND = 0.08"
                                      << "1 seiner Prüfungen geändert und 0 gelöscht";
        QTest::newRow("remark edited") << "UPDATE PRUEFUNGEN SET BEMERKUNG = 'neu' WHERE SCHUTZLEITWIDERSTAND = 0.45"
                                       << "1 seiner Prüfungen geändert";
        QTest::newRow("deleted") << "DELETE FROM PRUEFUNGEN WHERE SCHUTZLEITWIDERSTAND = 0.12" << "0 seiner Prüfungen geändert und 1 gelöscht";
    }
    void changedBatchIsNotUndone()
    {
        QFETCH(QString, change);
        QFETCH(QString, message);
        ImportFixture f;
        const TImportResult result = importDryRun(f.dm->Database, f.dryRun(TDialect{}, dayOfWork()));
        TQuery q(&f.dm->Database);
        q.setSql(change);
        q.execQuery();
        f.dm->Transaction.commitRetaining();
        const qint64 count = f.inspectionCount();
        QVERIFY(undoRefusal(f.dm->Database, result.batchId).contains(message));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, undoBatch(f.dm->Database, result.batchId));
        QCOMPARE(f.inspectionCount(), count);
        QVERIFY(!importBatches(f.dm->Database)[0].undoneAt.isValid());
    }

    void staleDryRunWritesNothing()
    {
        ImportFixture f;
        const TDryRun run = f.dryRun(TDialect{}, dayOfWork());
        TQuery q(&f.dm->Database);
        q.setSql(QStringLiteral("DELETE FROM PRUEFLINGE WHERE ID = 1002"));
        q.execQuery();
        f.dm->Transaction.commitRetaining();
        const qint64 before = f.inspectionCount();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, importDryRun(f.dm->Database, run));
        QCOMPARE(f.inspectionCount(), before);
        QVERIFY(importBatches(f.dm->Database).isEmpty());
    }

    void failureInsideTheBatchWritesNothing()
    {
        ImportFixture f;
        const qint64 before = f.inspectionCount();
        int calls = 0;
        const auto failSecond = [&](TDatabase &, int) {
            if (++calls == 2)
                throw EDatabaseError(QStringLiteral("Platte voll"));
        };
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, importDryRun(f.dm->Database, f.dryRun(TDialect{}, dayOfWork()), failSecond));
        QCOMPARE(f.inspectionCount(), before);
        QVERIFY(importBatches(f.dm->Database).isEmpty());
    }

    void unknownDeviceIsCreatedFromItsRow()
    {
        ImportFixture f;
        const TDryRun run = f.dryRun(TDialect{}, {printerRow("03.11.2025", "0.1", "bestanden", "0087"),
                                                  [] {
                                                      QStringList r = printerRow("03.11.2025");
                                                      r[0] = QStringLiteral("Bäckerei Süß");
                                                      return r;
                                                  }()});
        QCOMPARE(run.rows[0].state, RowState::UnknownDevice);
        QCOMPARE(run.rows[1].state, RowState::UnknownCustomer);
        const TImportProfile profile = profileFor(TDialect{});
        const int id = createDeviceFromRow(f.dm->Database, run.rows[0], profile, {QStringLiteral("Kaffeemaschine"), "I", 24});
        QCOMPARE(f.scalar(QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE WHERE ID = %1 AND NUMMER = 87 AND KUNDEN_ID = 101 "
                                         "AND PRUEFINTERVAL = 24 AND SCHUTZKLASSE = 'I'")
                              .arg(id)),
                 qint64(1));
        createDeviceFromRow(f.dm->Database, run.rows[1], profile, {QStringLiteral("Drucker"), "II", 12});
        QCOMPARE(f.scalar(QStringLiteral("SELECT COUNT(*) FROM KUNDEN WHERE NAME = 'Bäckerei Süß'")), qint64(1));
        QCOMPARE(f.dryRun(TDialect{}, {printerRow("03.11.2025", "0.1", "bestanden", "0087")}).readyCount(), 1);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, createDeviceFromRow(f.dm->Database, run.rows[0], profile, {"", "I", 12}));
    }

    // An export's texts arrive as the instrument wrote them: the customer
    // and its device made from the row carry the spelling, the remark is
    // stored letter for letter. Windows-1252 holds "€" and "Ø" of them.
    void europeanSpellingsArriveExactly_data()
    {
        QTest::addColumn<TDialect>("dialect");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("remark");
        for (const EuropeanSpelling &s : europeanSpellings()) {
            QTest::addRow("%s, UTF-8 with BOM", s.row)
                << TDialect{u',', false, TextEncoding::Utf8, true, "\r\n"} << s.customer << s.device << s.remark;
            QTest::addRow("%s, UTF-8 without BOM", s.row)
                << TDialect{u';', true, TextEncoding::Utf8, false, "\n"} << s.customer << s.device << s.remark;
        }
        QTest::newRow("Windows-1252") << TDialect{u'\t', true, TextEncoding::Windows1252, false, "\r\n"}
                                      << QStringLiteral("Øresund Elektro") << QStringLiteral("Kernbohrer Ø 3 mm")
                                      << QStringLiteral("Gehäuse gerissen, Ersatz 12,50 €");
    }
    void europeanSpellingsArriveExactly()
    {
        QFETCH(TDialect, dialect);
        QFETCH(QString, customer);
        QFETCH(QString, device);
        QFETCH(QString, remark);
        ImportFixture f;
        QStringList row = printerRow(QStringLiteral("03.11.2025"), QStringLiteral("0.1"), QStringLiteral("bestanden"),
                                     QStringLiteral("7"));
        row[0] = customer;
        row[13] = remark;
        const TDryRun unknown = f.dryRun(dialect, {row});
        QVERIFY2(unknown.fileError.isEmpty(), qPrintable(unknown.fileError));
        QCOMPARE(unknown.rows[0].state, RowState::UnknownCustomer);
        QCOMPARE(unknown.rows[0].customerText, customer);
        const int id = createDeviceFromRow(f.dm->Database, unknown.rows[0], profileFor(dialect), {device, "I", 12});

        const TDryRun run = f.dryRun(dialect, {row});
        QCOMPARE(run.readyCount(), 1);
        QCOMPARE(run.rows[0].deviceText, QStringLiteral("%1 Nr. 7 (%2)").arg(device, customer));
        QCOMPARE(importDryRun(f.dm->Database, run).imported, 1);
        QCOMPARE(f.text(QStringLiteral("SELECT k.NAME FROM KUNDEN k JOIN PRUEFLINGE p ON p.KUNDEN_ID = k.ID WHERE p.ID = %1").arg(id)),
                 customer);
        QCOMPARE(f.text(QStringLiteral("SELECT BEZEICHNUNG FROM PRUEFLINGE WHERE ID = %1").arg(id)), device);
        QCOMPARE(f.text(QStringLiteral("SELECT BEMERKUNG FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = %1").arg(id)), remark);
    }

    // Some programs write accented letters as a base letter and a combining
    // mark ("r" + "̌"): the customer typed with "ř" is still the one meant,
    // not a new one of the same look.
    void decomposedLettersFindTheCustomer_data() { addEuropeanSpellingRows(); }
    void decomposedLettersFindTheCustomer()
    {
        QFETCH(int, spelling);
        const EuropeanSpelling &s = europeanSpellings()[spelling];
        ImportFixture f({QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (120, '%1')").arg(s.customer),
                         QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) "
                                        "VALUES (1200, '%1', 7, 'I', 12, 120)")
                             .arg(s.device)});
        QStringList row = printerRow(QStringLiteral("03.11.2025"), QStringLiteral("0.1"), QStringLiteral("bestanden"),
                                     QStringLiteral("7"));
        row[0] = s.customer.normalized(QString::NormalizationForm_D);
        const TDryRun run = f.dryRun(TDialect{u';', true, TextEncoding::Utf8, false, "\n"}, {row});
        QCOMPARE(run.rows[0].state, RowState::Ready);
        QCOMPARE(run.rows[0].deviceId, 1200);
    }

    void earlierFileGainsTheImportTablesOnce()
    {
        ImportFixture &f = shared(); // created without them, upgraded by the connection
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN "
                          "('IMPORTPROFILE', 'IMPORTSTAPEL', 'IMPORTZEILEN')"),
                 qint64(3));
        TUpdateDB(&f.dm->Database).CheckAndUpdate(); // a current file is left as it is
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'SEQ_IMPORT'"), qint64(1));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), qint64(2));
    }

    void profilesAreStoredByName()
    {
        ImportFixture f;
        TImportProfile p = profileFor(TDialect{u'\t', false, TextEncoding::Windows1252, false, "\r\n"});
        p.name = QStringLiteral("Gerät Ü");
        saveProfile(f.dm->Database, p);
        p.headerLines = 3;
        saveProfile(f.dm->Database, p); // replaces
        QCOMPARE(storedProfileNames(f.dm->Database), QStringList{QStringLiteral("Gerät Ü")});
        QString error;
        const auto back = loadProfile(f.dm->Database, QStringLiteral("Gerät Ü"), &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->headerLines, 3);
        QCOMPARE(back->separator, QChar(u'\t'));
        QVERIFY(!loadProfile(f.dm->Database, QStringLiteral("fehlt"), &error));
        QVERIFY(error.contains(u"„fehlt“"));
        p.setColumn(ImportField::Date, 0);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, saveProfile(f.dm->Database, p));
        deleteProfile(f.dm->Database, QStringLiteral("Gerät Ü"));
        QVERIFY(storedProfileNames(f.dm->Database).isEmpty());
    }

    void shippedExamplesReadTheirExports_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("counts");
        QTest::newRow("semicolon") << "beispiel-semikolon"
                                   << "1 bereit, 1 Prüfling unbekannt, 1 Wert keine Zahl, 1 Urteil weicht ab";
        QTest::newRow("qr code") << "beispiel-qrcode" << "1 bereit, 1 Prüfling unbekannt, 1 Urteil weicht ab";
    }
    void shippedExamplesReadTheirExports()
    {
        QFETCH(QString, name);
        QFETCH(QString, counts);
        ImportFixture &f = shared();
        const QString folder = QStringLiteral(VELMORA_SOURCE_DIR "/resources/import/");
        QFile profileFile(folder + name + QStringLiteral(".json"));
        QFile exportFile(folder + name + QStringLiteral(".csv"));
        QVERIFY(profileFile.open(QIODevice::ReadOnly) && exportFile.open(QIODevice::ReadOnly));
        QString error;
        const auto profile = TImportProfile::fromJsonText(profileFile.readAll(), &error);
        QVERIFY2(profile, qPrintable(error));
        const TDryRun run = dryRunImport(f.dm->Database, *profile, exportFile.fileName(), exportFile.readAll(), kChoice);
        QCOMPARE(run.countsText(), counts);
    }
};

QTEST_GUILESS_MAIN(TestImportBatch)
#include "tst_importbatch.moc"
