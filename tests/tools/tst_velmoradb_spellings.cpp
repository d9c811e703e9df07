// velmora-db with customers, devices and remarks in spellings beyond
// Latin-1, on a file in a folder named in them: what it prints, the PDFs it
// writes (read back with pdftotext, pdffonts and zxing-cpp) and what its
// import stores.
#include "AppHome.h"
#include "EuropeanSpellings.h"
#include "ExportFiles.h"
#include "FileScalar.h"
#include "LabelPayload.h"
#include "QrDecode.h"
#include "ToolRun.h"
#include <QtTest>

namespace {

const QString kContractor = QStringLiteral("Elektro Dvořák & Yılmaz, Łódź");
const QString kExamples = QStringLiteral(VELMORA_SOURCE_DIR "/resources/import/");

int customerId(int spelling) { return 111 + spelling; }
int deviceId(int spelling) { return 2101 + spelling; }
int inspectionId(int spelling) { return 5101 + spelling; }

// One customer per spelling with one device (number 1) and one inspection
// carrying the remark; the contractor named in all of them.
QStringList spellingWorld()
{
    QStringList sql{QStringLiteral("UPDATE AUFTRAGNEHMER SET NAME = '%1'").arg(kContractor)};
    for (int i = 0; i < europeanSpellings().size(); ++i) {
        const EuropeanSpelling &s = europeanSpellings()[i];
        sql << QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (%1, '%2')").arg(customerId(i)).arg(s.customer)
            << QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) "
                              "VALUES (%1, '%2', 1, 'I', 12, %3)")
                   .arg(deviceId(i))
                   .arg(s.device)
                   .arg(customerId(i))
            << QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                              "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, BEMERKUNG) "
                              "VALUES (%1, '2026-12-01 09:00', '2027-12-01', 11, 12, %2, 1, 1, '%3')")
                   .arg(inspectionId(i))
                   .arg(deviceId(i))
                   .arg(s.remark);
    }
    return sql;
}

QString pdfText(const QString &pdf) { return runTool("pdftotext", {"-layout", pdf, "-"}).out; }

// The fonts of a PDF as pdffonts lists them: name and whether embedded.
QStringList pdfFontLines(const QString &pdf) { return runTool("pdffonts", {pdf}).out.split(u'\n', Qt::SkipEmptyParts).mid(2); }

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestVelmoraDbSpellings : public QObject {
    Q_OBJECT
    std::unique_ptr<TAppHome> m_home;
    QString m_folder, m_db;

    QString file(const QString &name) const { return m_folder + u'/' + name; }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        m_home = std::make_unique<TAppHome>();
        QVERIFY(QDir(m_home->dir.path()).mkdir(QStringLiteral("Łódź Dvořák Yılmaz")));
        m_folder = m_home->dir.filePath(QStringLiteral("Łódź Dvořák Yılmaz"));
        m_db = file(QStringLiteral("VELMORA.FDB"));
        m_home->dbPath = m_db;
        m_home->createDatabase(spellingWorld());
    }

    void checkNamesTheFile()
    {
        const TToolRun r = velmoraDb({"check", m_db});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.out.startsWith(QStringLiteral("Velmora-Datenbank: ") + m_db + u'\n'), qPrintable(r.out));
    }

    // The protocol and the inventory list carry every text as stored, in
    // embedded DejaVu fonts alone (no fallback font for a missing letter),
    // the firm as the protocol's author; the protocol's text layer verifies
    // against the database.
    void reports_data() { addEuropeanSpellingRows(); }
    void reports()
    {
        QFETCH(int, spelling);
        const EuropeanSpelling &s = europeanSpellings()[spelling];
        const QString protocol = file(s.customer + QStringLiteral(" Protokoll.pdf"));
        TToolRun r = velmoraDb({"report", m_db, "--protocol", QString::number(inspectionId(spelling)), "--out", protocol});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString protocolText = pdfText(protocol);
        for (const QString &text : {kContractor, s.customer, s.device, s.remark})
            QVERIFY2(protocolText.contains(text), qPrintable(text + QStringLiteral(" in ") + protocolText));
        const QStringList fonts = pdfFontLines(protocol);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts) {
            const QStringList cells = font.split(u' ', Qt::SkipEmptyParts);
            QVERIFY2(cells.value(0).contains(QStringLiteral("DejaVuSans")) && cells.value(4) == u"yes", qPrintable(font));
        }
        const QString info = runTool("pdfinfo", {protocol}).out;
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Author:\\s+") + QRegularExpression::escape(kContractor) + u'\n')),
                 qPrintable(info));
        r = velmoraDb({"verify-pdf", m_db, protocol});
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
        QVERIFY2(r.out.contains(QStringLiteral("das Protokoll stimmt mit der Datenbank überein")), qPrintable(r.out));

        const QString inventory = file(s.customer + QStringLiteral(" Inventar.pdf"));
        r = velmoraDb({"report", m_db, "--inventory", QString::number(customerId(spelling)), "--out", inventory});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString inventoryText = pdfText(inventory);
        for (const QString &text : {s.customer, s.device})
            QVERIFY2(inventoryText.contains(text), qPrintable(text + QStringLiteral(" in ") + inventoryText));
    }

    // A label names the firm as stored; its QR code, read as a scanner reads
    // it, names the device, which leads back to the customer.
    void labels_data() { addEuropeanSpellingRows(); }
    void labels()
    {
        QFETCH(int, spelling);
        const QString pdf = file(europeanSpellings()[spelling].customer + QStringLiteral(" Etikett.pdf"));
        const TToolRun r = velmoraDb({"labels", m_db, "--device", QString::number(deviceId(spelling)), "--stock", "rolle-62x29", "--out", pdf});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(kContractor) && text.contains(QStringLiteral("Gerät Nr. 1")), qPrintable(text));
        const QString payload = decodeQrCodes(pdfPageImages(pdf, 300).value(0)).value(0).text;
        QCOMPARE(payload, labelPayloadText({customerId(spelling), deviceId(spelling), QStringLiteral("1")}));
        const auto scanned = parseLabelPayload(payload);
        QVERIFY(scanned);
        QCOMPARE(fileText(m_db, QStringLiteral("SELECT k.NAME FROM KUNDEN k JOIN PRUEFLINGE p ON p.KUNDEN_ID = k.ID WHERE p.ID = %1")
                                    .arg(scanned->deviceId)),
                 europeanSpellings()[spelling].customer);
    }

    // An export naming the device by its label, with the remark quoted (it
    // holds the separator): the dry run prints device and customer as
    // stored, the import stores the remark exactly. Windows-1252 has "€"
    // and "Ø" but not "ı", "Ł" or "ř": its remark keeps what it can hold.
    void import_data()
    {
        QTest::addColumn<int>("spelling");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("byteOrderMark");
        for (int i = 0; i < europeanSpellings().size(); ++i) {
            QTest::addRow("%s, UTF-8 with BOM", europeanSpellings()[i].row) << i << int(TextEncoding::Utf8) << true;
            QTest::addRow("%s, UTF-8 without BOM", europeanSpellings()[i].row) << i << int(TextEncoding::Utf8) << false;
            QTest::addRow("%s, Windows-1252", europeanSpellings()[i].row) << i << int(TextEncoding::Windows1252) << false;
        }
    }
    void import()
    {
        QFETCH(int, spelling);
        QFETCH(int, encoding);
        QFETCH(bool, byteOrderMark);
        const EuropeanSpelling &s = europeanSpellings()[spelling];
        const auto textEncoding = TextEncoding(encoding);
        const QString remark = textEncoding == TextEncoding::Utf8 ? s.remark : s.remark.section(QStringLiteral(" – "), 0, 0);

        QFile example(kExamples + QStringLiteral("beispiel-qrcode.json"));
        QVERIFY(example.open(QIODevice::ReadOnly));
        const QString profile = file(QStringLiteral("Profil %1.json").arg(encodingName(textEncoding)));
        writeFile(profile, example.readAll().replace("\"UTF-8\"", "\"" + encodingName(textEncoding).toUtf8() + "\""));

        // Each row of the table on a day of its own, so that none was imported before.
        static int day = 0;
        const QString when = QStringLiteral("2026-11-%1 08:00:00").arg(++day, 2, 10, QLatin1Char('0'));
        const QString payload = labelPayloadText({customerId(spelling), deviceId(spelling), QStringLiteral("1")});
        const QString csv = QStringLiteral("QR,Zeitpunkt,Sicht,RPE,RISO,IEA,Funktion,Ergebnis,Prüfer,Notiz\r\n"
                                           "%1,%2,OK,0.07,19.99,0.25,OK,PASS,,\"%3\"\r\n")
                                .arg(payload, when, remark);
        const QString export_ = file(s.customer + QStringLiteral(" Messung.csv"));
        writeFile(export_, (byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + encodedAs(textEncoding, csv));

        const QStringList args{"import", m_db, export_, "--profile", profile, "--geraet", "Mess 02"};
        TToolRun r = velmoraDb(args + QStringList{"--dry-run"});
        QVERIFY2(r.out.contains(QStringLiteral("\tbereit\t%1 Nr. 1 (%2)\t").arg(s.device, s.customer)), qPrintable(r.out + r.err));
        r = velmoraDb(args);
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
        QCOMPARE(fileText(m_db, QStringLiteral("SELECT BEMERKUNG FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = %1 AND PRUEFDATUM = '%2'")
                                    .arg(deviceId(spelling))
                                    .arg(when)),
                 remark);
    }
};

QTEST_GUILESS_MAIN(TestVelmoraDbSpellings)
#include "tst_velmoradb_spellings.moc"
