#include "AppTestMain.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPruefung.h"
#include <QCheckBox>
#include <QLabel>
#include <QTableView>
#include <QtTest>

namespace {

// The running program on the demo database: the printer (class I) with two
// inspections, the latest with 0,07 Ohm and 19,99 MOhm.
struct Running : TRunningProgram {
    explicit Running(const QStringList &changes = {}) : TRunningProgram(changes, QDateTime(QDate(2024, 3, 15), QTime(10, 30))) {}
    TField *inspection(const char *name) { return frmDM->dsetPruefungen.fieldByName(name); }
    void newInspection() { click(frmMain, "btnNeuePruefung"); }
    void type(QLineEdit *edit, const QString &text)
    {
        typeWithoutReturn(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    template<class W = QWidget>
    static W *field(const char *objectName) { return find<W>(frmPruefung, objectName); }
};

} // namespace

class TestInspectionWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void limitColumn_data()
    {
        QTest::addColumn<QString>("schutzklasse");
        QTest::addColumn<QString>("leakage");
        QTest::newRow("class I") << "I" << "Max.     3,50 mA";
        QTest::newRow("class II") << "II" << "Max.     0,50 mA";
    }
    void limitColumn()
    {
        QFETCH(QString, schutzklasse);
        QFETCH(QString, leakage);
        Running r({"UPDATE PRUEFLINGE SET SCHUTZKLASSE = '" + schutzklasse + "', GRENZWERT0 = 0.45, VARIABEL = 1, LAENGE = 16.25"});
        r.newInspection();
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(r.field<QLabel>("Label9")->text(), QStringLiteral("Letzte Messung"));
        QCOMPARE(r.field<QLabel>("Label19")->text(), leakage);
        QCOMPARE(r.field<QLabel>("Label18")->text(), QStringLiteral("Min.     2,00 MOhm"));
        QCOMPARE(r.field<QLabel>("Label17_1")->text() + ' ' + r.field<QLabel>("DbGrenzwert0")->text() + ' ' + r.field<QLabel>("Label17_2")->text(),
                 QStringLiteral("Max. 0,45 Ohm"));
        QCOMPARE(r.field<QLabel>("DbVorher_SCHUTZLEITWIDERSTAND")->text(), QStringLiteral("0,07"));
    }

    // Beside a typed value, a note when it is near its limit or worse than
    // at the latest inspection (10.07.2014: 0,07 Ohm, 19,99 MOhm) by more
    // than half of the margin left then; the pass box judges as before.
    void valueNotes_data()
    {
        QTest::addColumn<QString>("measurement");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("note");
        QTest::addColumn<Qt::CheckState>("passed");
        QTest::newRow("near and worse") << "Schutzleitwiderstand" << "0,25"
                                        << "nahe am Grenzwert, verschlechtert seit 10.07.2014" << Qt::Checked;
        QTest::newRow("worse by more than half") << "Schutzleitwiderstand" << "0,19" << "verschlechtert seit 10.07.2014"
                                                 << Qt::Checked;
        QTest::newRow("worse by less than half") << "Schutzleitwiderstand" << "0,18" << "" << Qt::Checked;
        QTest::newRow("failing") << "Schutzleitwiderstand" << "0,31" << "" << Qt::Unchecked;
        QTest::newRow("insulation near its minimum") << "Isolationspruefung" << "2,3"
                                                     << "nahe am Grenzwert, verschlechtert seit 10.07.2014" << Qt::Checked;
        QTest::newRow("insulation somewhat lower") << "Isolationspruefung" << "15" << "" << Qt::Checked;
        QTest::newRow("no earlier value") << "Differenzstrom" << "3,4" << "nahe am Grenzwert" << Qt::Checked;
    }
    void valueNotes()
    {
        QFETCH(QString, measurement);
        QFETCH(QString, value);
        QFETCH(QString, note);
        QFETCH(Qt::CheckState, passed);
        Running r;
        r.newInspection();
        r.type(r.field<QLineEdit>(qPrintable("edit" + measurement)), value);
        QCOMPARE(r.field<QLabel>(qPrintable("note" + measurement))->text(), note);
        QCOMPARE(r.field<QCheckBox>(qPrintable("chk" + measurement))->checkState(), passed);
        QLineEdit *edit = r.field<QLineEdit>(qPrintable("edit" + measurement));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace); // emptied: no note
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(r.field<QLabel>(qPrintable("note" + measurement))->text(), QString());
    }

    void typingJudges()
    {
        Running r;
        r.newInspection();
        QCOMPARE(r.field<QCheckBox>("chkSchutzleitwiderstand")->checkState(), Qt::PartiallyChecked); // not measured yet
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,31");
        QCOMPARE(r.field<QCheckBox>("chkSchutzleitwiderstand")->checkState(), Qt::Unchecked);
        QCOMPARE(r.field<QLabel>("DbPruefungBestanden")->text(), QStringLiteral("Nicht bestanden"));
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,30");
        QCOMPARE(r.field<QCheckBox>("chkSchutzleitwiderstand")->checkState(), Qt::Checked);
        QCOMPARE(r.field<QLabel>("DbPruefungBestanden")->text(), QStringLiteral("Bestanden"));
        // A box ticked by hand counts although nothing was measured.
        r.field<QAbstractButton>("chkDifferenzstrom")->click();
        QCOMPARE(r.inspection("DIFFERENZSTROM_BESTANDEN")->displayText(), QStringLiteral("Ja"));
        r.click(frmPruefung, "btnSave");
        QVERIFY(!frmPruefung->isVisible());
        QCOMPARE(frmDM->dsetPruefungen.recordCount(), 3);
    }

    void copyFillsOnlyEmptyValues()
    {
        Running r({"UPDATE PRUEFUNGEN SET ERSATZABLEITSTROM = 0.2, DIFFERENZSTROM = 1.5 WHERE ID = 10002"});
        r.newInspection();
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,1");
        r.type(r.field<QLineEdit>("editErsatzableitstrom"), "4");
        r.click(frmPruefung, "btnCopy");
        QCOMPARE(r.inspection("SCHUTZLEITWIDERSTAND")->displayText(), QStringLiteral("0,10"));
        QCOMPARE(r.inspection("ERSATZABLEITSTROM")->displayText(), QStringLiteral("4,00"));
        QCOMPARE(r.inspection("ISOLATIONSPRUEFUNG")->displayText(), QStringLiteral("19,99"));
        QCOMPARE(r.inspection("DIFFERENZSTROM")->displayText(), QStringLiteral("1,50"));
        QVERIFY(r.inspection("BERUEHRUNGSSTROM")->isNull());
        QCOMPARE(r.inspection("ISOLATIONSPRUEFUNG_BESTANDEN")->displayText(), QStringLiteral("Ja"));
        QCOMPARE(r.inspection("ERSATZABLEITSTROM_BESTANDEN")->displayText(), QStringLiteral("Nein")); // 4 mA > 3,5
    }

    void dateButtons()
    {
        Running r;
        r.newInspection();
        const QDateTime next = r.inspection("NEXT_PRUEFDATUM")->asDateTime();
        for (int i = 0; i < 3; ++i)
            r.click(frmPruefung, "spinPruefdatumDown");
        QCOMPARE(r.inspection("PRUEFDATUM")->asDateTime(), QDateTime(QDate(2024, 3, 12), QTime(10, 30)));
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), next.addDays(-3));
        r.inspection("PRUEFER_ID")->setAsInteger(11);
        r.click(frmPruefung, "btnSave");
        r.click(frmMain, "btnPruefungBearbeiten");
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(r.field<QLabel>("Label9")->text(), QStringLiteral("Vorherige Messung"));
        r.click(frmPruefung, "spinPruefdatumUp"); // an edited inspection's next date follows too
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), next.addDays(-2));
        r.click(frmPruefung, "spinNextPruefdatumUp");
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), next.addDays(-1));
        r.click(frmPruefung, "spinPruefdatumUp"); // set by hand: it stays
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), next.addDays(-1));
    }

    // Yesterday's paper notes: the typed inspection date moves the next date
    // by the device's interval, unless the next date was set by hand first.
    void typedDateMovesNextDate_data()
    {
        QTest::addColumn<QString>("typedNext");
        QTest::addColumn<QString>("typedDate");
        QTest::addColumn<QDate>("next");
        QTest::newRow("next date follows") << QString() << "01.12.2023 10:00" << QDate(2024, 12, 1);
        QTest::newRow("end of month") << QString() << "29.02.2024 08:00" << QDate(2025, 2, 28);
        QTest::newRow("next date set by hand") << "01.06.2024" << "01.12.2023 10:00" << QDate(2024, 6, 1);
    }
    void typedDateMovesNextDate()
    {
        QFETCH(QString, typedNext);
        QFETCH(QString, typedDate);
        QFETCH(QDate, next);
        Running r({"UPDATE PRUEFLINGE SET PRUEFINTERVAL = 12"});
        r.newInspection();
        if (!typedNext.isEmpty())
            r.type(r.field<QLineEdit>("editNextPruefdatum"), typedNext);
        r.type(r.field<QLineEdit>("editPruefdatum"), typedDate);
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), QDateTime(next, QTime(0, 0)));
        QCOMPARE(r.field<QLineEdit>("editNextPruefdatum")->text(), next.toString(QStringLiteral("dd.MM.yyyy")));
    }

    // A date after today is stored only when the user confirms it; "Nein"
    // keeps everything typed in the open window.
    void futureDateAsks()
    {
        Running r;
        r.newInspection();
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,1");
        r.type(r.field<QLineEdit>("editPruefdatum"), "16.03.2024 09:00");
        r.dialogs.answers.enqueue(IDialogs::Answer::No);
        r.click(frmPruefung, "btnSave");
        QCOMPARE(r.dialogs.messages().last(), QStringLiteral("Das Prüfdatum liegt in der Zukunft. Trotzdem speichern?"));
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(frmDM->dsetPruefungen.state(), TDataSetState::Insert);
        QCOMPARE(r.inspection("SCHUTZLEITWIDERSTAND")->displayText(), QStringLiteral("0,10"));
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = 1001"), 2);
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes);
        r.click(frmPruefung, "btnSave");
        QVERIFY(!frmPruefung->isVisible());
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = 1001"), 3);
        // Today's date is not asked about.
        const int questions = int(r.dialogs.messages().size());
        r.newInspection();
        r.click(frmPruefung, "btnSave");
        QCOMPARE(int(r.dialogs.messages().size()), questions);
    }

    // A measured value below zero is refused by its field with a message;
    // nothing is judged from it.
    void negativeValueIsRefused_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("column");
        QTest::newRow("protective conductor") << "editSchutzleitwiderstand" << "SCHUTZLEITWIDERSTAND";
        QTest::newRow("touch current") << "editBeruehrungsstrom" << "BERUEHRUNGSSTROM";
    }
    void negativeValueIsRefused()
    {
        QFETCH(QString, edit);
        QFETCH(QString, column);
        Running r;
        r.newInspection();
        r.type(r.field<QLineEdit>(qPrintable(edit)), "-0,5");
        QCOMPARE(r.dialogs.messages(), QStringList{QStringLiteral("Ein Messwert kann nicht negativ sein.")});
        QVERIFY(r.dialogs.beeps() > 0);
        QVERIFY(r.inspection(qPrintable(column))->isNull());
        QVERIFY(r.inspection(qPrintable(column + "_BESTANDEN"))->isNull());
        QVERIFY(frmPruefung->isVisible());
    }

    void closeQuestionCancelKeepsWindow()
    {
        Running r;
        r.newInspection();
        r.dialogs.answers.enqueue(IDialogs::Answer::Cancel);
        frmPruefung->close();
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(frmDM->dsetPruefungen.state(), TDataSetState::Insert);
        r.dialogs.answers.enqueue(IDialogs::Answer::No);
        frmPruefung->close();
        QVERIFY(!frmPruefung->isVisible());
        QCOMPARE(frmDM->dsetPruefungen.recordCount(), 2);
    }

    // The comparison column follows the device the user clicks, also after
    // visiting a device without inspections.
    void comparisonAfterAnotherDevice()
    {
        Running r;
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
        auto *devices = r.find<QTableView>(frmMain, "gridPrueflinge");
        r.clickRow(devices, 1); // Mikrowelle, never inspected
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("BEZEICHNUNG")->asString(), QStringLiteral("Mikrowelle"));
        r.clickRow(devices, 0); // Drucker
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("BEZEICHNUNG")->asString(), QStringLiteral("Drucker"));
        r.newInspection();
        QCOMPARE(r.field<QLabel>("Label9")->text(), QStringLiteral("Letzte Messung"));
        QCOMPARE(r.field<QLabel>("DbVorher_SCHUTZLEITWIDERSTAND")->text(), QStringLiteral("0,07"));
        r.click(frmPruefung, "btnCancel");
        r.click(frmMain, "btnPruefungBearbeiten");
        QCOMPARE(r.field<QLabel>("Label9")->text(), QStringLiteral("Vorherige Messung"));
        QCOMPARE(r.field<QLabel>("DbVorher_SCHUTZLEITWIDERSTAND")->text(), QStringLiteral("0,06"));
        r.click(frmPruefung, "btnCancel");
    }

    void savingAnInspectionDeletedMeanwhileIsRefused()
    {
        Running r;
        r.click(frmMain, "btnPruefungBearbeiten");
        QVERIFY(frmPruefung->isVisible());
        const qint64 id = r.inspection("ID")->asInteger();
        {
            // Gone behind the window's back, as an older version's cascade did.
            TQuery q(&frmDM->Database);
            q.setSql("DELETE FROM PRUEFUNGEN WHERE ID = :ID");
            q.paramByName("ID").setAsInteger(id);
            q.execQuery();
            frmDM->Transaction.commitRetaining();
        }
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,12");
        r.click(frmPruefung, "btnSave");
        QCOMPARE(r.dialogs.messages(), QStringList{"Der Datensatz wurde inzwischen gelöscht oder geändert."});
        QVERIFY(frmPruefung->isVisible()); // nothing counts as saved
        QCOMPARE(frmDM->dsetPruefungen.state(), TDataSetState::Edit);
    }
};

VELMORA_APP_TEST_MAIN(TestInspectionWindow)
#include "tst_inspectionwindow.moc"
