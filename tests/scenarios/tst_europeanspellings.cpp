// Names, devices and remarks in spellings beyond Latin-1 ("Yılmaz",
// "Łukasiewicz", "Dvořák", "€", "Ø") typed into the windows as a user types
// them, kept over a restart of the program, found again by their first
// letters, printed into the protocol, the inventory list and a label whose
// QR code, scanned, leads back to them.
#include "AppTestMain.h"
#include "EuropeanSpellings.h"
#include "QrDecode.h"
#include "TextBox.h"
#include "UEtiketten.h"
#include "WorkingDay.h"
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRawFont>

namespace {

const QDateTime kDay(QDate(2026, 12, 10), QTime(8, 0));

QStringList customerListTexts()
{
    auto *customers = WorkingDay::find<QComboBox>(frmMain, "cbKunden");
    QStringList texts;
    for (int i = 0; i < customers->count(); ++i)
        texts << customers->itemText(i);
    return texts;
}

} // namespace

class TestEuropeanSpellings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // The report font draws every letter itself: no box, no other font.
    void reportFontHasEveryLetter_data() { addEuropeanSpellingRows(); }
    void reportFontHasEveryLetter()
    {
        QFETCH(int, spelling);
        const EuropeanSpelling &s = europeanSpellings()[spelling];
        for (const bool bold : {false, true}) {
            const QRawFont font = QRawFont::fromFont(reportFont(10, bold));
            QCOMPARE(font.familyName(), QStringLiteral("DejaVu Sans"));
            for (const QChar c : s.customer + s.device + s.remark)
                QVERIFY2(font.supportsCharacter(c), qPrintable(QString(c)));
        }
    }

    void typedKeptFoundAndPrinted_data() { addEuropeanSpellingRows(); }
    void typedKeptFoundAndPrinted()
    {
        QFETCH(int, spelling);
        const EuropeanSpelling &s = europeanSpellings()[spelling];
        WorkingDay day(kDay);
        const QString firm = QStringLiteral("Elektro ") + s.customer.section(u' ', 0, 0);
        day.setUpContractor(firm, QStringLiteral("Hauptstraße 1"), QStringLiteral("10115"), QStringLiteral("Berlin"));
        QCOMPARE(day.text("SELECT NAME FROM AUFTRAGNEHMER"), firm);

        // Typed key by key into the customer dialog, the device window and
        // the inspection window's remark.
        day.addCustomer(s.customer);
        QCOMPARE(day.text("SELECT NAME FROM KUNDEN WHERE ID = (SELECT MAX(ID) FROM KUNDEN)"), s.customer);
        day.chooseCustomer(s.customer);
        QCOMPARE(day.currentCustomer(), s.customer);
        const QByteArray device = s.device.toUtf8();
        day.addDevice(firm::Device{device.constData(), "II", "", ""});
        QVERIFY(!frmPruefling->isVisible());
        day.chooseDevice(s.device);
        day.click(frmMain, "btnNeuePruefung");
        QVERIFY(frmPruefung->isVisible());
        day.chooseInspector(QStringLiteral("Demo-Prüfer"));
        day.typeValues({{"editIsolationspruefung", "15"}});
        auto *remark = day.find<QPlainTextEdit>(frmPruefung, "memoBemerkung");
        remark->setFocus();
        WorkingDay::keys(remark, s.remark);
        day.click(frmPruefung, "btnSave");
        QVERIFY2(!frmPruefung->isVisible(), qPrintable(day.dialogs.messages().join('\n')));
        const QString deviceSql = QStringLiteral("SELECT p.BEZEICHNUNG FROM PRUEFLINGE p JOIN KUNDEN k ON k.ID = p.KUNDEN_ID "
                                                  "WHERE k.ID = (SELECT MAX(ID) FROM KUNDEN)");
        QCOMPARE(day.text(deviceSql), s.device);
        QCOMPARE(day.text("SELECT BEMERKUNG FROM PRUEFUNGEN WHERE ID = (SELECT MAX(ID) FROM PRUEFUNGEN)"), s.remark);
        QVERIFY(frmMain->close());

        // The next start shows each text as it was typed.
        day.restart();
        QVERIFY2(customerListTexts().contains(s.customer), qPrintable(customerListTexts().join('\n')));
        auto *customers = day.find<QComboBox>(frmMain, "cbKunden");
        customers->setCurrentIndex(0);
        customers->setFocus();
        WorkingDay::keys(customers, s.customerStart());
        QCOMPARE(day.currentCustomer(), s.customer);
        day.chooseDevice(s.device);

        // The device search finds the device by its first letters.
        auto *search = day.find<QLineEdit>(frmMain, "editLocate");
        day.type(search, s.device.left(6));
        QCOMPARE(day.dialogs.messages().filter(QStringLiteral("Kein Datensatz")), QStringList());
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName(QStringLiteral("BEZEICHNUNG"))->asString(), s.device);

        day.click(frmMain, "DBNavButton2"); // "Prüfling bearbeiten"
        QVERIFY(frmPruefling->isVisible());
        QCOMPARE(day.find<QComboBox>(frmPruefling, "cbBezeichnung")->currentText(), s.device);
        day.click(frmPruefling, "BitBtn1");
        QVERIFY(!frmPruefling->isVisible());

        day.click(frmMain, "btnPruefungBearbeiten");
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(day.find<QPlainTextEdit>(frmPruefung, "memoBemerkung")->toPlainText(), s.remark);
        day.click(frmPruefung, "btnCancel");
        QVERIFY(!frmPruefung->isVisible());

        // The protocol from "Bericht erzeugen", saved under the customer's
        // name, proposed under the customer's and the device's.
        const QString protocol = day.file(s.customer + QStringLiteral(" Protokoll.pdf"));
        QString proposed;
        day.inReportWindow([&] { day.click(frmMain, "btnBerichtErzeugen"); },
                           [&](TPreviewExt *window) { proposed = day.savePdf(window, protocol); });
        QVERIFY2(proposed.contains(s.customer) && proposed.contains(s.device), qPrintable(proposed));
        QVERIFY(QFileInfo::exists(protocol));
        const QString protocolText = WorkingDay::pdfText(protocol);
        for (const QString &text : {firm, s.customer, s.device, s.remark})
            QVERIFY2(protocolText.contains(text), qPrintable(text + QStringLiteral(" in ") + protocolText));

        // The inventory list from "Berichte", the customer picked by typing.
        const QString inventory = day.file(s.customer + QStringLiteral(" Inventar.pdf"));
        day.inReportWindow([&] { day.openFromMenu("Berichte1"); },
                           [&](TPreviewExt *window) {
                               auto *reportCustomers = day.find<QComboBox>(window, "cbKunden");
                               reportCustomers->setFocus();
                               WorkingDay::keys(reportCustomers, s.customerStart());
                               QCOMPARE(reportCustomers->currentText(), s.customer);
                               // On its round mark: the button spans the panel, its middle is empty.
                               auto *inventoryChoice = day.find<QRadioButton>(window, "rbInventar");
                               QTest::mouseClick(inventoryChoice, Qt::LeftButton, {}, QPoint(6, inventoryChoice->height() / 2));
                               QVERIFY(inventoryChoice->isChecked());
                               day.savePdf(window, inventory);
                           });
        const QString inventoryText = WorkingDay::pdfText(inventory);
        QVERIFY2(inventoryText.contains(QStringLiteral("Inventarliste")), qPrintable(inventoryText));
        for (const QString &text : {s.customer, s.device})
            QVERIFY2(inventoryText.contains(text), qPrintable(text + QStringLiteral(" in ") + inventoryText));

        // The device's label from "Etiketten...": the firm on it, its QR code
        // read as a scanner reads it.
        const QString label = day.file(s.customer + QStringLiteral(" Etikett.pdf"));
        day.inModalWindow<TfrmEtiketten>([&] { day.openFromMenu("Etiketten1"); },
                                         [&](TfrmEtiketten *window) {
                                             day.dialogs.paths.enqueue(label);
                                             day.click(window, "btnPdf");
                                         });
        QVERIFY2(WorkingDay::pdfText(label).contains(firm), qPrintable(WorkingDay::pdfText(label)));
        const QString payload = decodeQrCodes(pdfPageImages(label, 300).value(0)).value(0).text;
        QVERIFY2(payload.startsWith(QStringLiteral("VPP1;")), qPrintable(payload));

        // Scanned into the search field while another customer is shown, it
        // brings back the customer and the device as typed.
        day.chooseCustomer(QStringLiteral("Demo-Kunde"));
        QCOMPARE(day.currentCustomer(), QStringLiteral("Demo-Kunde"));
        day.type(search, payload);
        QCOMPARE(day.currentCustomer(), s.customer);
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName(QStringLiteral("BEZEICHNUNG"))->asString(), s.device);

        QVERIFY(frmMain->close());
    }
};

VELMORA_APP_TEST_MAIN(TestEuropeanSpellings)
#include "tst_europeanspellings.moc"
