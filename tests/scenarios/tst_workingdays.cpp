// Whole working days of an electrician's firm, step by step as a user
// works: each step checks what the user must see, the rows it stored and
// the text of the PDFs it wrote.
#include "AppTestMain.h"
#include "WorkingDay.h"

namespace {

const QDateTime kFirstDay(QDate(2026, 12, 9), QTime(8, 0));
const QDateTime kInspectionDay(QDate(2026, 12, 10), QTime(8, 0));
const QDateTime kNextMorning(QDate(2026, 12, 11), QTime(7, 45));

const QString kCloseQuestion = QStringLiteral("Daten in Bearbeitung...\r\nSichern?");

// The inspections of 10.12.2026, as the inspection day leaves them: all
// passed but the drill's insulation (0,20 MΩ).
QStringList inspectionDayRows()
{
    QStringList rows = firm::rows();
    const QString insert = QStringLiteral(
        "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, "
        "FUNKTIONSPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, "
        "ISOLATIONSPRUEFUNG_BESTANDEN) VALUES (%1, '2026-12-10 %2', '2027-12-10', 30, 30, %3, 1, 1, %4, %5)");
    rows << insert.arg(30000).arg("09:00").arg(3000).arg("0.12, 1").arg("0.2, 0")
         << insert.arg(30001).arg("09:20").arg(3001).arg("NULL, NULL").arg("15, 1")
         << insert.arg(30002).arg("09:40").arg(3002).arg("NULL, NULL").arg("30, 1")
         << insert.arg(30003).arg("10:00").arg(3003).arg("0.35, 1").arg("12, 1");
    return rows;
}

} // namespace

class TestWorkingDays : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // The first day: the firm's own data through the master-data dialogs,
    // a new customer, its devices; the program closed at the end of the day.
    void firstDayOfAFirm()
    {
        WorkingDay day(kFirstDay);
        day.setUpContractor(firm::kContractor, QStringLiteral("Mühlenweg 3"), QStringLiteral("24103"), QStringLiteral("Kiel"));
        QCOMPARE(day.text("SELECT NAME || ', ' || STRASSE || ', ' || PLZ || ' ' || ORT FROM AUFTRAGNEHMER"),
                 firm::kContractor + QStringLiteral(", Mühlenweg 3, 24103 Kiel"));

        day.addInspector(firm::kInspector);
        QCOMPARE(day.count("PRUEFER", "NAME = '" + firm::kInspector + "'"), 1);

        day.addInstrument(QStringLiteral("Benning"), QStringLiteral("ST 760"), QStringLiteral("SN 4711"));
        QCOMPARE(day.text("SELECT NAME || ' ' || BEZEICHNUNG || ' / ' || SERIENNUMMER FROM PRUEFGERAETE WHERE SERIENNUMMER = 'SN 4711'"),
                 QStringLiteral("Benning ST 760 / SN 4711"));

        day.addCustomer(firm::kCustomer);
        QCOMPARE(day.count("KUNDEN", "NAME = '" + firm::kCustomer + "'"), 1);
        day.chooseCustomer(firm::kCustomer);
        QCOMPARE(day.currentCustomer(), firm::kCustomer);
        QVERIFY(!day.find<QAbstractButton>(frmMain, "btnNeuePruefung")->isEnabled()); // no device yet

        int stored = 0;
        for (const firm::Device &device : firm::kDevices) {
            day.addDevice(device);
            ++stored;
            const QString name = QString::fromUtf8(device.name);
            QVERIFY2(!frmPruefling->isVisible(), qPrintable(name));
            QCOMPARE(day.text(QStringLiteral("SELECT SCHUTZKLASSE || '/' || VARIABEL || '/' || COALESCE(CAST(LAENGE AS INTEGER), '-') "
                                             "|| '/' || GRENZWERT0 FROM PRUEFLINGE WHERE ID = %1")
                                  .arg(day.deviceId(name))),
                     QStringLiteral("%1/%2/%3/%4")
                         .arg(QString::fromLatin1(device.schutzklasse))
                         .arg(*device.cableMetres ? 1 : 0)
                         .arg(*device.cableMetres ? QString::fromLatin1(device.cableMetres) : QStringLiteral("-"))
                         .arg(QString::fromLatin1(device.limit)));
            if (stored == 1) {
                QVERIFY(day.find<QAbstractButton>(frmMain, "btnNeuePruefung")->isEnabled());
            }
        }
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), 4);
        QCOMPARE(day.find<QLabel>(frmMain, "txtAnzahl")->text(), QStringLiteral("4"));

        // The end of the day: nothing open, nothing asked.
        QVERIFY(frmMain->close());
        QCOMPARE(day.dialogs.messages(), QStringList());
    }

    // The inspection day: one inspection after the other by keyboard, a
    // failing value, the day's protocols as one PDF.
    void anInspectionDay()
    {
        WorkingDay day(kInspectionDay, firm::rows());
        day.chooseCustomer(firm::kCustomer);
        QCOMPARE(day.currentCustomer(), firm::kCustomer);

        // The drill, class I: values typed, each confirmed with Enter.
        day.chooseDevice(QStringLiteral("Bohrmaschine"));
        QVERIFY(day.find<QAbstractButton>(frmMain, "btnNeuePruefung")->isEnabled());
        QVERIFY(WorkingDay::newInspectionByKeyboard());
        day.chooseInspector(firm::kInspector);
        QCOMPARE(day.inspector(), firm::kInspector);
        day.typeValues({{"editSchutzleitwiderstand", "0,12"}, {"editIsolationspruefung", "0,20"}});
        QCOMPARE(day.find<QCheckBox>(frmPruefung, "chkIsolationspruefung")->checkState(), Qt::Unchecked);
        QVERIFY(WorkingDay::saveInspectionByKeyboard());
        QCOMPARE(day.latest("Bohrmaschine", "SCHUTZLEITWIDERSTAND || '/' || SCHUTZLEITWIDERSTAND_BESTANDEN"), QStringLiteral("0.1200/1"));
        QCOMPARE(day.latest("Bohrmaschine", "ISOLATIONSPRUEFUNG || '/' || ISOLATIONSPRUEFUNG_BESTANDEN"), QStringLiteral("0.2000/0"));
        QCOMPARE(day.latest("Bohrmaschine", "PRUEFER_ID"), QStringLiteral("30"));
        QCOMPARE(day.latest("Bohrmaschine", "CAST(NEXT_PRUEFDATUM AS DATE)"), QStringLiteral("2027-12-10T00:00:00"));

        // The hair dryer, class II: no protective conductor to measure; the
        // inspector of the last inspection stays.
        day.chooseDevice(QStringLiteral("Föhn"));
        QVERIFY(WorkingDay::newInspectionByKeyboard());
        QCOMPARE(day.inspector(), firm::kInspector);
        day.typeValues({{"editIsolationspruefung", "15"}});
        QVERIFY(WorkingDay::saveInspectionByKeyboard());
        QCOMPARE(day.latest("Föhn", "COALESCE(SCHUTZLEITWIDERSTAND, 'leer') || '/' || ISOLATIONSPRUEFUNG_BESTANDEN"), QStringLiteral("leer/1"));

        // A negative value is refused where it is typed.
        day.chooseDevice(QStringLiteral("Handlampe"));
        QVERIFY(WorkingDay::newInspectionByKeyboard());
        day.typeValues({{"editIsolationspruefung", "-0,5"}});
        QVERIFY(day.dialogs.messages().contains(QStringLiteral("Ein Messwert kann nicht negativ sein.")));
        day.typeValues({{"editIsolationspruefung", "30"}});
        QVERIFY(WorkingDay::saveInspectionByKeyboard());
        QCOMPARE(day.latest("Handlampe", "ISOLATIONSPRUEFUNG || '/' || ISOLATIONSPRUEFUNG_BESTANDEN"), QStringLiteral("30.0000/1"));

        // The cable reel: its 25 m of cable allow up to 0,57 Ohm.
        day.chooseDevice(QStringLiteral("Kabeltrommel"));
        QVERIFY(WorkingDay::newInspectionByKeyboard());
        day.typeValues({{"editSchutzleitwiderstand", "0,35"}, {"editIsolationspruefung", "12"}});
        QVERIFY(WorkingDay::saveInspectionByKeyboard());
        QCOMPARE(day.latest("Kabeltrommel", "SCHUTZLEITWIDERSTAND_BESTANDEN"), QStringLiteral("1"));
        QCOMPARE(day.count("PRUEFUNGEN", "CAST(PRUEFDATUM AS DATE) = '2026-12-10'"), 4);

        // The day's protocols as one PDF, from "Berichte".
        const QString pdf = day.file(QStringLiteral("Protokolle Krümel.pdf"));
        QString proposed;
        day.inReportWindow([&] { day.openFromMenu("Berichte1"); },
                           [&](TPreviewExt *window) {
                               auto *customers = day.find<QComboBox>(window, "cbKunden");
                               customers->setFocus();
                               WorkingDay::keys(customers, firm::kCustomer.left(4));
                               proposed = day.savePdf(window, pdf);
                           });
        QCOMPARE(proposed, QStringLiteral("Prüfprotokolle 2026-12-10 Bäckerei Krümel.pdf"));
        const QString text = WorkingDay::pdfText(pdf);
        for (const firm::Device &device : firm::kDevices)
            QVERIFY2(text.contains(QString::fromUtf8(device.name)), qPrintable(text));
        QCOMPARE(WorkingDay::pdfLines(text, QStringLiteral("Isolationswiderstand")).first().endsWith(QStringLiteral("0,20 MΩ nicht bestanden")), true);
        // One line per device, in the order of their numbers.
        const QStringList conductor = WorkingDay::pdfLines(text, QStringLiteral("Schutzleiterwiderstand"));
        QCOMPARE(conductor.mid(0, 3), (QStringList{"Schutzleiterwiderstand ≤ 0,30 Ω 0,12 Ω bestanden",
                                                   "Schutzleiterwiderstand entfällt entfällt entfällt",
                                                   "Schutzleiterwiderstand entfällt entfällt entfällt"}));
        QVERIFY2(conductor.value(3).endsWith(QStringLiteral("0,35 Ω bestanden")), qPrintable(conductor.join('\n')));
        QCOMPARE(text.count(QStringLiteral("Die Prüfung wurde nicht bestanden")), 1);
        // Handed over: the four inspections are closed.
        QCOMPARE(day.count("PRUEFUNGEN_ABGESCHLOSSEN"), 4);

        QVERIFY(frmMain->close());
        QCOMPARE(day.dialogs.messages().filter(kCloseQuestion), QStringList());
    }

    // The next morning: yesterday's paper notes entered late, a correction of
    // a handed-over protocol, and the end of the day with an edit still open.
    void theNextMorning()
    {
        WorkingDay day(kNextMorning, inspectionDayRows());
        day.chooseCustomer(firm::kCustomer);
        day.chooseDevice(QStringLiteral("Kabeltrommel"));

        day.click(frmMain, "btnNeuePruefung");
        day.chooseInspector(firm::kInspector);

        // Yesterday's paper notes: the typed date moves the next date.
        day.type(day.inspectionField("editPruefdatum"), QStringLiteral("10.12.2026 16:30"));
        QVERIFY(day.inspectionField("editNextPruefdatum")->text().startsWith(QStringLiteral("10.12.2027")));
        day.typeValues({{"editSchutzleitwiderstand", "0,30"}, {"editIsolationspruefung", "11"}});
        day.click(frmPruefung, "btnSave");
        QCOMPARE(day.latest("Kabeltrommel", "PRUEFDATUM"), QStringLiteral("2026-12-10T16:30:00"));

        // A date in the future is questioned.
        day.chooseDevice(QStringLiteral("Föhn"));
        day.click(frmMain, "btnNeuePruefung");
        QCOMPARE(day.inspector(), firm::kInspector); // the inspector used last
        day.type(day.inspectionField("editPruefdatum"), QStringLiteral("12.12.2026 09:00"));
        day.dialogs.answers.enqueue(IDialogs::Answer::No);
        day.click(frmPruefung, "btnSave");
        QVERIFY(day.dialogs.messages().contains(QStringLiteral("Das Prüfdatum liegt in der Zukunft. Trotzdem speichern?")));
        if (frmPruefung->isVisible())
            frmDM->dsetPruefungen.cancel();
        day.dialogs.answers.clear();

        // The drill's protocol of yesterday: printed as PDF, then corrected.
        day.chooseDevice(QStringLiteral("Bohrmaschine"));
        const QString pdf = day.file(QStringLiteral("Bohrmaschine.pdf"));
        QString proposed;
        day.inReportWindow([&] { day.click(frmMain, "btnBerichtErzeugen"); },
                           [&](TPreviewExt *window) { proposed = day.savePdf(window, pdf); });
        QCOMPARE(proposed, QStringLiteral("Prüfprotokoll 2026-12-10 Bäckerei Krümel Bohrmaschine.pdf"));
        QVERIFY(WorkingDay::pdfText(pdf).contains(QStringLiteral("0,20 MΩ nicht bestanden")));
        QCOMPARE(day.count("PRUEFUNGEN_ABGESCHLOSSEN", "PRUEFUNG_ID = 30000"), 1);

        day.click(frmMain, "btnPruefungBearbeiten");
        day.typeValues({{"editIsolationspruefung", "2,5"}});
        day.dialogs.texts.enqueue(QStringLiteral("Messleitung war nicht gesteckt"));
        day.click(frmPruefung, "btnSave");
        QVERIFY(!frmPruefung->isVisible());
        QCOMPARE(day.dialogs.shown.last().caption, QStringLiteral("Grund der Korrektur"));
        QCOMPARE(day.count("PRUEFUNGEN_VERSIONEN", "PRUEFUNG_ID = 30000"), 1);
        QCOMPARE(day.text("SELECT ISOLATIONSPRUEFUNG || '/' || ISOLATIONSPRUEFUNG_BESTANDEN FROM PRUEFUNGEN WHERE ID = 30000"),
                 QStringLiteral("2.5000/1"));
        const QString corrected = day.file(QStringLiteral("Bohrmaschine korrigiert.pdf"));
        day.inReportWindow([&] { day.click(frmMain, "btnBerichtErzeugen"); },
                           [&](TPreviewExt *window) { day.savePdf(window, corrected); });
        const QString text = WorkingDay::pdfText(corrected);
        QVERIFY2(text.contains(QStringLiteral("Grund: Messleitung war nicht gesteckt")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Die Prüfung wurde bestanden")));

        // Escape after typing a value asks before the value is dropped.
        day.click(frmMain, "btnNeuePruefung");
        day.typeValues({{"editIsolationspruefung", "9"}});
        day.dialogs.answers.enqueue(IDialogs::Answer::No);
        QTest::keyClick(frmPruefung, Qt::Key_Escape);
        QVERIFY(day.dialogs.messages().contains(QStringLiteral("Eingaben verwerfen?")));
        day.dialogs.answers.clear();

        // Quitting with the inspection still open asks; "Nein" drops it.
        const qint64 before = day.count("PRUEFUNGEN");
        if (!frmPruefung->isVisible()) {
            day.click(frmMain, "btnNeuePruefung");
            day.typeValues({{"editIsolationspruefung", "9"}});
        }
        day.dialogs.clear();
        day.dialogs.answers.enqueue(IDialogs::Answer::No);
        QVERIFY(frmMain->close());
        QCOMPARE(day.dialogs.messages(), QStringList{kCloseQuestion});
        QCOMPARE(day.count("PRUEFUNGEN"), before);
    }
};

VELMORA_APP_TEST_MAIN(TestWorkingDays)
#include "tst_workingdays.moc"
