#include "AppTestMain.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPruefung.h"
#include "USettings.h"
#include <QCheckBox>
#include <QComboBox>
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
        QTest::addColumn<QString>("conductor");
        QTest::newRow("class I") << "I" << "Max.     3,50 mA" << "Max. 0,45 Ohm";
        QTest::newRow("class II") << "II" << "Max.     0,50 mA" << "entfällt";
        QTest::newRow("class III") << "III" << "Max.     0,50 mA" << "entfällt";
    }
    void limitColumn()
    {
        QFETCH(QString, schutzklasse);
        QFETCH(QString, leakage);
        QFETCH(QString, conductor);
        Running r({"UPDATE PRUEFLINGE SET SCHUTZKLASSE = '" + schutzklasse + "', GRENZWERT0 = 0.45, VARIABEL = 1, LAENGE = 16.25"});
        r.newInspection();
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(r.field<QLabel>("Label9")->text(), QStringLiteral("Letzte Messung"));
        QCOMPARE(r.field<QLabel>("Label19")->text(), leakage);
        QCOMPARE(r.field<QLabel>("Label18")->text(), QStringLiteral("Min.     2,00 MOhm"));
        QStringList shown; // what the user reads in the protective conductor's limit
        for (const char *part : {"Label17_1", "DbGrenzwert0", "Label17_2"})
            if (QLabel *label = r.field<QLabel>(part); label->isVisibleTo(frmPruefung) && !label->text().isEmpty())
                shown << label->text();
        QCOMPARE(shown.join(' '), conductor);
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
        QTest::newRow("failing") << "Schutzleitwiderstand" << "0,31" << "✗ nicht bestanden" << Qt::Unchecked;
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
        r.click(frmPruefung, "spinPruefdatumUp");
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), next.addDays(-2)); // an edited one follows, too
        r.click(frmPruefung, "spinNextPruefdatumUp");
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), next.addDays(-1));
        r.click(frmPruefung, "spinPruefdatumUp");
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), next.addDays(-1)); // set by hand: stays
    }

    // Yesterday's paper notes: the next date is the typed inspection date
    // plus the device's interval, for a new and an edited inspection; an
    // edited one whose next date was set by hand when it was entered keeps it.
    void typedDateMovesNextDate_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("storedNext");
        QTest::addColumn<QDate>("next");
        const QString byInterval = QStringLiteral("DATEADD(24 MONTH TO CAST(PRUEFDATUM AS DATE))");
        QTest::newRow("new inspection") << false << byInterval << QDate(2025, 12, 1);
        QTest::newRow("edited inspection") << true << byInterval << QDate(2025, 12, 1);
        QTest::newRow("edited, next set by hand") << true << "'2030-01-01'" << QDate(2030, 1, 1);
    }
    void typedDateMovesNextDate()
    {
        QFETCH(bool, edited);
        QFETCH(QString, storedNext);
        QFETCH(QDate, next);
        Running r({"UPDATE PRUEFLINGE SET PRUEFINTERVAL = 24", "UPDATE PRUEFUNGEN SET NEXT_PRUEFDATUM = " + storedNext});
        edited ? r.click(frmMain, "btnPruefungBearbeiten") : r.newInspection();
        r.type(r.field<QLineEdit>("editPruefdatum"), "01.12.2023 10:00");
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime().date(), next);
        r.click(frmPruefung, "btnSave");
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFDATUM = '2023-12-01 10:00' AND "
                          "CAST(NEXT_PRUEFDATUM AS DATE) = '" + next.toString(Qt::ISODate) + "'"),
                 1);
    }

    void nextDateTypedByHandStays()
    {
        Running r;
        r.newInspection();
        r.type(r.field<QLineEdit>("editNextPruefdatum"), "15.06.2024");
        r.type(r.field<QLineEdit>("editPruefdatum"), "01.12.2023 10:00");
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), QDateTime(QDate(2024, 6, 15), QTime(0, 0)));
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes); // discard
        r.click(frmPruefung, "btnCancel");
        r.newInspection(); // a new edit follows again
        r.type(r.field<QLineEdit>("editPruefdatum"), "01.12.2023 10:00");
        QCOMPARE(r.inspection("NEXT_PRUEFDATUM")->asDateTime(), QDateTime(QDate(2024, 12, 1), QTime(0, 0)));
    }

    void futureDateAsks_data()
    {
        QTest::addColumn<IDialogs::Answer>("answer");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Ja saves") << IDialogs::Answer::Yes << true;
        QTest::newRow("Nein keeps editing") << IDialogs::Answer::No << false;
    }
    void futureDateAsks()
    {
        QFETCH(IDialogs::Answer, answer);
        QFETCH(bool, saved);
        Running r;
        r.newInspection();
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,1");
        r.type(r.field<QLineEdit>("editPruefdatum"), "01.12.2026 10:00");
        r.dialogs.answers.enqueue(answer);
        r.click(frmPruefung, "btnSave");
        QCOMPARE(r.dialogs.messages(), QStringList{"Das Prüfdatum liegt in der Zukunft. Trotzdem speichern?"});
        QCOMPARE(frmPruefung->isVisible(), !saved);
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), saved ? 3 : 2);
        if (!saved) { // nothing typed is lost
            QCOMPARE(frmDM->dsetPruefungen.state(), TDataSetState::Insert);
            QCOMPARE(r.inspection("SCHUTZLEITWIDERSTAND")->displayText(), QStringLiteral("0,10"));
        }
    }

    void todaysDateSavesWithoutQuestion()
    {
        Running r;
        r.newInspection();
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,1");
        r.click(frmPruefung, "btnSave");
        QCOMPARE(r.dialogs.messages(), QStringList());
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), 3);
    }

    // Escape or "Abbrechen und Schließen" after typing asks first; "Nein"
    // keeps everything typed.
    void discardingTypedValuesAsks_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::addColumn<IDialogs::Answer>("answer");
        QTest::newRow("Escape, Nein") << true << IDialogs::Answer::No;
        QTest::newRow("Escape, Ja") << true << IDialogs::Answer::Yes;
        QTest::newRow("Abbrechen, Nein") << false << IDialogs::Answer::No;
        QTest::newRow("Abbrechen, Ja") << false << IDialogs::Answer::Yes;
    }
    void discardingTypedValuesAsks()
    {
        QFETCH(bool, escape);
        QFETCH(IDialogs::Answer, answer);
        Running r;
        r.newInspection();
        r.type(r.field<QLineEdit>("editIsolationspruefung"), "15");
        r.dialogs.answers.enqueue(answer);
        escape ? QTest::keyClick(frmPruefung->focusWidget(), Qt::Key_Escape) : r.click(frmPruefung, "btnCancel");
        QCOMPARE(r.dialogs.messages(), QStringList{"Eingaben verwerfen?"});
        const bool kept = answer == IDialogs::Answer::No;
        QCOMPARE(frmPruefung->isVisible(), kept);
        if (kept)
            QCOMPARE(r.inspection("ISOLATIONSPRUEFUNG")->displayText(), QStringLiteral("15,00"));
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), 2);
    }

    void leavingUntouchedAsksNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("Abbrechen") << false;
    }
    void leavingUntouchedAsksNothing()
    {
        QFETCH(bool, escape);
        Running r;
        r.newInspection();
        escape ? QTest::keyClick(r.field("editSchutzleitwiderstand"), Qt::Key_Escape) : r.click(frmPruefung, "btnCancel");
        QCOMPARE(r.dialogs.messages(), QStringList());
        QVERIFY(!frmPruefung->isVisible());
    }

    // The inspector and instrument of the last saved inspection start the
    // next one, also after a restart, unless they are gone meanwhile.
    void rememberedToolsAcrossStarts_data()
    {
        QTest::addColumn<int>("rememberedInspector");
        QTest::addColumn<bool>("otherDatabase");
        QTest::addColumn<int>("expectedInspector");
        QTest::addColumn<int>("expectedInstrument");
        QTest::newRow("still there") << -1 << false << 12 << 12;
        QTest::newRow("gone meanwhile") << 99 << false << 11 << 12;
        QTest::newRow("remembered in another database") << -1 << true << 11 << 11;
    }
    void rememberedToolsAcrossStarts()
    {
        QFETCH(int, rememberedInspector);
        QFETCH(bool, otherDatabase);
        QFETCH(int, expectedInspector);
        QFETCH(int, expectedInstrument);
        Running r({"INSERT INTO PRUEFER (ID, NAME) VALUES (12, 'Zacharias Zell')"});
        r.newInspection();
        QCOMPARE(r.inspection("PRUEFER_ID")->asInteger(), 11); // the first of the list
        for (const char *box : {"cbPruefer", "cbPruefgeraet"}) {
            auto *combo = r.field<QComboBox>(box);
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_End);
        }
        QCOMPARE(r.inspection("PRUEFER_ID")->asInteger(), 12);
        QCOMPARE(r.inspection("PRUEFGERAETE_ID")->asInteger(), 12);
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,1");
        r.click(frmPruefung, "btnSave");
        r.program.destroy();
        if (rememberedInspector >= 0)
            TSettings().setLastPrueferId(rememberedInspector);
        if (otherDatabase)
            TSettings().setLastToolsDatabase(r.home.dir.filePath(QStringLiteral("andere Firma.fdb")));
        r.program.create();
        r.newInspection();
        QCOMPARE(r.inspection("PRUEFER_ID")->asInteger(), expectedInspector);
        QCOMPARE(r.inspection("PRUEFGERAETE_ID")->asInteger(), expectedInstrument);
    }

    // Failing is shown by colour and a mark; a new inspection has no
    // verdict until something is judged.
    void failuresInColourAndMark()
    {
        Running r;
        r.newInspection();
        auto *verdict = r.field<QLabel>("DbPruefungBestanden");
        auto *mark = r.field<QLabel>("markPruefungBestanden");
        QCOMPARE(verdict->text(), QString());
        QCOMPARE(mark->text(), QString());
        const QColor plain = verdict->palette().color(QPalette::WindowText);
        auto *edit = r.field<QLineEdit>("editSchutzleitwiderstand");
        const QColor plainValue = edit->palette().color(QPalette::Text);
        r.type(edit, "0,31");
        QCOMPARE(verdict->text(), QStringLiteral("Nicht bestanden"));
        QCOMPARE(mark->text(), QStringLiteral("✗"));
        QVERIFY(verdict->palette().color(QPalette::WindowText) != plain);
        QCOMPARE(mark->palette().color(QPalette::WindowText), verdict->palette().color(QPalette::WindowText));
        QCOMPARE(edit->palette().color(QPalette::Text), verdict->palette().color(QPalette::WindowText));
        QCOMPARE(r.field<QLabel>("noteSchutzleitwiderstand")->text(), QStringLiteral("✗ nicht bestanden"));
        r.type(edit, "0,1");
        QCOMPARE(verdict->text(), QStringLiteral("Bestanden"));
        QCOMPARE(mark->text(), QString());
        QCOMPARE(verdict->palette().color(QPalette::WindowText), plain);
        QCOMPARE(edit->palette().color(QPalette::Text), plainValue);
    }

    void tabOrder()
    {
        Running r;
        r.newInspection();
        r.field("chkSichtpruefung")->setFocus();
        QStringList walked;
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(frmPruefung->focusWidget(), Qt::Key_Tab);
            QWidget *focus = frmPruefung->focusWidget();
            while (focus && focus->objectName().isEmpty()) // the line edit inside a box
                focus = focus->parentWidget();
            walked << focus->objectName();
        }
        QCOMPARE(walked, (QStringList{"editSchutzleitwiderstand", "editIsolationspruefung", "editErsatzableitstrom",
                                      "editDifferenzstrom", "editBeruehrungsstrom", "chkFunktionspruefung",
                                      "memoBemerkung", "cbPruefer", "cbPruefgeraet", "editPruefdatum",
                                      "editNextPruefdatum", "btnCopy"}));
    }

    void enterMovesToNextValue()
    {
        Running r;
        r.newInspection();
        const QStringList values{"editSchutzleitwiderstand", "editIsolationspruefung", "editErsatzableitstrom",
                                 "editDifferenzstrom", "editBeruehrungsstrom", "chkFunktionspruefung"};
        r.field(qPrintable(values.front()))->setFocus();
        for (qsizetype i = 0; i + 1 < values.size(); ++i) {
            QCOMPARE(frmPruefung->focusWidget()->objectName(), values[i]);
            QTest::keyClicks(frmPruefung->focusWidget(), "1");
            QTest::keyClick(frmPruefung->focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(frmPruefung->focusWidget()->objectName(), values.back());
        QCOMPARE(r.inspection("BERUEHRUNGSSTROM")->displayText(), QStringLiteral("1,00"));
        QVERIFY(frmPruefung->isVisible());
    }

    // A long note wraps instead of widening the window, and the window fits
    // a 1024x768 screen.
    void windowKeepsItsWidthWhileTyping()
    {
        Running r;
        r.newInspection();
        QVERIFY(QTest::qWaitForWindowExposed(frmPruefung));
        const int width = frmPruefung->width();
        r.type(r.field<QLineEdit>("editSchutzleitwiderstand"), "0,25");
        r.type(r.field<QLineEdit>("editIsolationspruefung"), "2,3");
        QCOMPARE(r.field<QLabel>("noteSchutzleitwiderstand")->text(),
                 QStringLiteral("nahe am Grenzwert, verschlechtert seit 10.07.2014"));
        QApplication::processEvents();
        QCOMPARE(frmPruefung->width(), width);
        QVERIFY(frmPruefung->minimumSizeHint().width() <= 1024);
        QVERIFY(frmPruefung->minimumSizeHint().height() <= 768);
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
