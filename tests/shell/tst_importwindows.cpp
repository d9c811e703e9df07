// The import windows in the running program: the dry run of an export in a
// folder with an umlaut, a device created from its row, the import after
// the counts were confirmed, the batch taken back, the dry run and the
// import as long work with their progress and "Abbrechen", and the profile
// dialog's live preview.
#include "AppTestMain.h"
#include "BackgroundImport.h"
#include "ImportProfileDialog.h"
#include "ProfileStore.h"
#include "ProgressWatch.h"
#include "RunningProgram.h"
#include "UMain.h"
#include <QHeaderView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {

const QString kExamples = QStringLiteral(VELMORA_SOURCE_DIR "/resources/import/");

TImportProfile exampleProfile()
{
    QFile file(kExamples + QStringLiteral("beispiel-semikolon.json"));
    file.open(QIODevice::ReadOnly);
    QString error;
    return *TImportProfile::fromJsonText(file.readAll(), &error);
}

// An export of the example instrument with count inspections of "Drucker
// Nr. 85", a minute apart from 02.06.2025 07:00, every one ready.
QByteArray manyReadyRows(int count)
{
    QByteArray csv = "Kunde;Nr;Datum;Zeit;Pr\xFC" "fer;RPE;RISO;IEA;IDIFF;IB;Sicht;Funktion;Ergebnis;Bemerkung\r\n";
    const QDateTime first(QDate(2025, 6, 2), QTime(7, 0));
    for (int i = 0; i < count; ++i)
        csv += "Demo-Kunde;85;" + first.addSecs(60LL * i).toString(QStringLiteral("dd.MM.yyyy;HH:mm")).toLatin1() +
               ";Demo-Pr\xFC" "fer;0,08;19,99;0,21;;;i.O.;i.O.;bestanden;\r\n";
    return csv;
}

constexpr int kManyRows = 250;

struct Running : TRunningProgram {
    QString exportPath, largePath;
    Running() : TRunningProgram(QStringList(), QDateTime(QDate(2025, 12, 1), QTime(12, 0)))
    {
        exportPath = home.dir.filePath(QStringLiteral("Prüf ordner/Messung März.csv"));
        QFile::copy(kExamples + QStringLiteral("beispiel-semikolon.csv"), exportPath);
        largePath = home.dir.filePath(QStringLiteral("Prüf ordner/Messung Juni.csv"));
        QFile large(largePath);
        if (large.open(QIODevice::WriteOnly))
            large.write(manyReadyRows(kManyRows));
        saveProfile(frmDM->Database, exampleProfile());
    }
    static QWidget *window(const QString &name)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return w;
        return nullptr;
    }
    qint64 inspections() { return scalar(QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN")); }
    QWidget *openRunWindow() { return openRunWindow(exportPath); }
    QWidget *openRunWindow(const QString &path)
    {
        find<QAction>(frmMain, "MesswerteImportieren1")->trigger();
        QWidget *runWindow = window(QStringLiteral("frmImportRun"));
        dialogs.paths.enqueue(path);
        click(runWindow, "btnDatei");
        return runWindow;
    }
    qint64 imported() { return scalar(QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFDATUM >= '2025-06-02'")); }
    // The number of inspections the main window lists for "Drucker Nr. 85".
    int listedForDevice85()
    {
        auto *devices = find<QAbstractItemView>(frmMain, "gridPrueflinge");
        const QAbstractItemModel *model = devices->model();
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                if (model->index(row, column).data().toString() == u"85") {
                    clickRow(devices, row, column);
                    return find<QAbstractItemView>(frmMain, "gridPruefungen")->model()->rowCount();
                }
        return -1;
    }
    static QStringList column(QTableWidget *table, int column)
    {
        QStringList texts;
        for (int r = 0; r < table->rowCount(); ++r)
            texts << table->item(r, column)->text();
        return texts;
    }
};

} // namespace

class TestImportWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void dryRunCreateDeviceImportAndUndo()
    {
        Running r;
        const qint64 before = r.inspections();
        QWidget *window = r.openRunWindow();
        auto *grid = r.find<QTableWidget>(window, "gridZeilen");
        QCOMPARE(r.column(grid, 1), QStringList({"bereit", "Wert keine Zahl", "Prüfling unbekannt", "Urteil weicht ab"}));
        QCOMPARE(r.column(grid, 3)[0], QStringLiteral("Drucker Nr. 85 (Demo-Kunde)"));
        QCOMPARE(grid->item(0, 5)->text(), QStringLiteral("0,08"));
        QVERIFY(grid->item(1, 2)->text().contains(u"„0,12 Ohm“"));
        QCOMPARE(r.find<QLabel>(window, "lblAnzahl")->text(),
                 QStringLiteral("1 bereit, 1 Prüfling unbekannt, 1 Wert keine Zahl, 1 Urteil weicht ab"));
        QCOMPARE(r.inspections(), before); // nothing written yet

        auto *create = r.find<QPushButton>(window, "btnPrueflingAnlegen");
        r.clickRow(grid, 0);
        QVERIFY(!create->isEnabled());
        r.clickRow(grid, 2);
        QVERIFY(create->isEnabled());
        QTimer::singleShot(0, [] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QTest::keyClicks(TRunningProgram::find<QLineEdit>(dialog, "edBezeichnung"), "Kaffeemaschine");
            auto *klasse = TRunningProgram::find<QComboBox>(dialog, "cbSchutzklasse");
            klasse->setCurrentIndex(klasse->findText("I"));
            TRunningProgram::click(dialog, "btnAnlegen");
        });
        r.click(create);
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFLINGE WHERE NUMMER = 87 AND BEZEICHNUNG = 'Kaffeemaschine' AND KUNDEN_ID = 101"),
                 qint64(1));
        QCOMPARE(r.column(grid, 1)[2], QStringLiteral("bereit"));

        r.dialogs.answers.enqueue(IDialogs::Answer::No);
        r.click(window, "btnImportieren");
        QCOMPARE(r.dialogs.messages().last(),
                 QStringLiteral("Aus „Messung März.csv“ werden 2 Prüfungen importiert.\n2 Zeilen werden ausgelassen "
                                "(1 Wert keine Zahl, 1 Urteil weicht ab).\n\nImportieren?"));
        QCOMPARE(r.inspections(), before);
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes);
        r.click(window, "btnImportieren");
        QCOMPARE(r.inspections(), before + 2);
        QVERIFY2(r.dialogs.messages().last().startsWith(u"2 Prüfungen importiert (Importstapel "),
                 qPrintable(r.dialogs.messages().join(u'|')));
        QCOMPARE(r.column(grid, 1), QStringList({"bereits importiert", "Wert keine Zahl", "bereits importiert", "Urteil weicht ab"}));
        window->close();

        r.find<QAction>(frmMain, "Importstapel1")->trigger();
        QWidget *batches = r.window(QStringLiteral("frmImportBatches"));
        auto *list = r.find<QTableWidget>(batches, "gridStapel");
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 2)->text(), QStringLiteral("Messung März.csv"));
        QCOMPARE(list->item(0, 4)->text(), QStringLiteral("2"));
        r.clickRow(list, 0);
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes);
        r.click(batches, "btnZuruecknehmen");
        QCOMPARE(r.inspections(), before);
        QCOMPARE(list->item(0, 7)->text(), QStringLiteral("01.12.2025 12:00"));
        QVERIFY(!r.find<QPushButton>(batches, "btnZuruecknehmen")->isEnabled());
    }

    // Every column's title shows whole, before a file is read and after.
    void columnTitlesShowWhole()
    {
        Running r;
        r.find<QAction>(frmMain, "MesswerteImportieren1")->trigger();
        QWidget *window = r.window(QStringLiteral("frmImportRun"));
        auto *grid = r.find<QTableWidget>(window, "gridZeilen");
        const auto clipped = [grid] {
            QStringList titles;
            for (int c = 0; c < grid->columnCount(); ++c)
                if (grid->columnWidth(c) < grid->horizontalHeader()->sectionSizeHint(c))
                    titles << grid->horizontalHeaderItem(c)->text();
            return titles;
        };
        QCOMPARE(clipped(), QStringList());
        r.dialogs.paths.enqueue(r.exportPath);
        r.click(window, "btnDatei");
        QCOMPARE(clipped(), QStringList());
        window->close();
    }

    void changedBatchIsRefusedWithItsReason()
    {
        Running r;
        QWidget *window = r.openRunWindow();
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes);
        r.click(window, "btnImportieren");
        window->close();
        const qint64 count = r.inspections();
        TQuery q(&frmDM->Database);
        q.setSql(QStringLiteral("UPDATE PRUEFUNGEN SET BEMERKUNG = 'nachgetragen' WHERE SCHUTZLEITWIDERSTAND = 0.08"));
        q.execQuery();
        frmDM->Transaction.commitRetaining();
        r.find<QAction>(frmMain, "Importstapel1")->trigger();
        QWidget *batches = r.window(QStringLiteral("frmImportBatches"));
        r.clickRow(r.find<QTableWidget>(batches, "gridStapel"), 0);
        r.click(batches, "btnZuruecknehmen");
        QVERIFY(r.dialogs.messages().last().contains(u"1 seiner Prüfungen geändert"));
        QCOMPARE(r.inspections(), count);
    }

    // The dry run and the import run off the window's thread: a timer of
    // that thread sees their progress mid-way, and the main window lists
    // the imported rows afterwards, read through the program's own
    // connection.
    void dryRunAndImportKeepTheWindowsPainting()
    {
        Running r;
        const int listedBefore = r.listedForDevice85();
        QVERIFY(listedBefore >= 0);
        HeldLongWork held;
        held.hold();
        QWidget *window = r.openRunWindow(r.largePath);
        QCOMPARE(held.seen(), QStringLiteral("Export wird geprüft: 0 von 250 Zeilen"));
        auto *grid = r.find<QTableWidget>(window, "gridZeilen");
        QCOMPARE(grid->rowCount(), kManyRows);
        QCOMPARE(r.find<QLabel>(window, "lblAnzahl")->text(), QStringLiteral("250 bereit"));

        held.hold();
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes);
        r.click(window, "btnImportieren");
        QCOMPARE(held.seen(), QStringLiteral("Prüfungen werden importiert: 0 von 250 Zeilen"));
        QVERIFY2(r.dialogs.messages().last().startsWith(u"250 Prüfungen importiert (Importstapel "),
                 qPrintable(r.dialogs.messages().join(u'|')));
        QCOMPARE(r.imported(), qint64(kManyRows));
        QCOMPARE(r.column(grid, 1).count(QStringLiteral("bereits importiert")), kManyRows);
        QCOMPARE(r.listedForDevice85(), listedBefore + kManyRows);
        window->close();
    }

    // "Abbrechen" in the dry run of another file: the window keeps the file,
    // rows and counts it showed and says that nothing was read.
    void cancelledDryRunKeepsTheWindowAsItWas()
    {
        Running r;
        QWidget *window = r.openRunWindow();
        auto *grid = r.find<QTableWidget>(window, "gridZeilen");
        const QStringList states = r.column(grid, 1);
        const QString counts = r.find<QLabel>(window, "lblAnzahl")->text();
        const QString file = r.find<QLabel>(window, "lblDatei")->text();
        HeldLongWork held;
        held.hold([](QWidget *progress) { TRunningProgram::click(progress, "btnAbbrechen"); });
        r.dialogs.paths.enqueue(r.largePath);
        r.click(window, "btnDatei");
        QCOMPARE(held.seen(), QStringLiteral("Export wird geprüft: 0 von 250 Zeilen"));
        QCOMPARE(r.dialogs.messages().last(), kDryRunCancelled);
        QCOMPARE(r.column(grid, 1), states);
        QCOMPARE(r.find<QLabel>(window, "lblAnzahl")->text(), counts);
        QCOMPARE(r.find<QLabel>(window, "lblDatei")->text(), file);

        // A choice whose dry run was stopped is taken back as well.
        auto *instrument = r.find<QComboBox>(window, "cbPruefgeraet");
        QVERIFY(instrument->count() > 1);
        const int chosen = instrument->currentIndex();
        held.hold([](QWidget *progress) { TRunningProgram::click(progress, "btnAbbrechen"); });
        instrument->setCurrentIndex(chosen == 0 ? 1 : 0);
        QCOMPARE(instrument->currentIndex(), chosen);
        QCOMPARE(r.column(grid, 1), states);
        window->close();
    }

    // "Abbrechen" during the import: the one transaction is taken back.
    void cancelledImportWritesNothing()
    {
        Running r;
        const qint64 fingerprints = r.scalar(QStringLiteral("SELECT COUNT(*) FROM FINGERABDRUECKE"));
        QWidget *window = r.openRunWindow(r.largePath);
        HeldLongWork held;
        held.hold([](QWidget *progress) { TRunningProgram::click(progress, "btnAbbrechen"); });
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes);
        r.click(window, "btnImportieren");
        QCOMPARE(held.seen(), QStringLiteral("Prüfungen werden importiert: 0 von 250 Zeilen"));
        QCOMPARE(r.dialogs.messages().last(), QStringLiteral("Der Import wurde abgebrochen; es wurde nichts importiert."));
        QCOMPARE(r.imported(), qint64(0));
        QCOMPARE(r.scalar(QStringLiteral("SELECT COUNT(*) FROM IMPORTSTAPEL")), qint64(0));
        QCOMPARE(r.scalar(QStringLiteral("SELECT COUNT(*) FROM FINGERABDRUECKE")), fingerprints);
        QCOMPARE(r.find<QLabel>(r.window(QStringLiteral("frmImportRun")), "lblAnzahl")->text(), QStringLiteral("250 bereit"));
        window->close();
    }

    // A failure while the import runs shows its text, and nothing of the
    // batch stays: the engine refusing the 150th row after a hundred were
    // written, or an inspection stored meanwhile for a row of the file.
    void failedImportWritesNothing_data()
    {
        QTest::addColumn<QStringList>("meanwhile");
        QTest::addColumn<QString>("message");
        QTest::newRow("engine refuses a row")
            << QStringList{"CREATE EXCEPTION E_PLATTE_VOLL 'Auf dem Datenträger ist kein Platz mehr.'",
                           "CREATE TRIGGER PRUEFUNGEN_VOLL FOR PRUEFUNGEN BEFORE INSERT AS BEGIN "
                           "IF (NEW.PRUEFDATUM = '2025-06-02 09:29') THEN EXCEPTION E_PLATTE_VOLL; END"}
            << "Auf dem Datenträger ist kein Platz mehr.";
        QTest::newRow("inspection stored meanwhile")
            << QStringList{"INSERT INTO PRUEFUNGEN (ID, PRUEFLINGE_ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID) "
                           "SELECT GEN_ID(SEQ_PRUEFUNGEN, 1), ID, '2025-06-02 07:30', '2026-06-02', "
                           "(SELECT MIN(ID) FROM PRUEFER), (SELECT MIN(ID) FROM PRUEFGERAETE) "
                           "FROM PRUEFLINGE WHERE KUNDEN_ID = 101 AND NUMMER = 85"}
            << "Die Daten haben sich seit der Vorschau geändert. Bitte die Vorschau neu ansehen; es wurde nichts importiert.";
    }
    void failedImportWritesNothing()
    {
        QFETCH(QStringList, meanwhile);
        QFETCH(QString, message);
        Running r;
        const qint64 fingerprints = r.scalar(QStringLiteral("SELECT COUNT(*) FROM FINGERABDRUECKE"));
        QWidget *window = r.openRunWindow(r.largePath);
        TQuery q(&frmDM->Database);
        for (const QString &sql : meanwhile) {
            q.setSql(sql);
            q.execQuery();
            frmDM->Transaction.commitRetaining();
        }
        const qint64 before = r.inspections();
        r.dialogs.answers.enqueue(IDialogs::Answer::Yes);
        r.click(window, "btnImportieren");
        const QString shown = r.dialogs.messages().join(u'|');
        QVERIFY2(shown.contains(message), qPrintable(shown));
        QCOMPARE(r.inspections(), before);
        QCOMPARE(r.scalar(QStringLiteral("SELECT COUNT(*) FROM IMPORTSTAPEL")), qint64(0));
        QCOMPARE(r.scalar(QStringLiteral("SELECT COUNT(*) FROM FINGERABDRUECKE")), fingerprints);
        QCOMPARE(r.find<QTableWidget>(window, "gridZeilen")->rowCount(), kManyRows); // the file is still shown
        window->close();
    }

    void profileDialogPreviewFollowsTheForm()
    {
        Running r;
        TdlgImportProfile dialog(frmDM->Database, frmMain);
        dialog.show();
        auto *list = r.find<QListWidget>(&dialog, "lstProfile");
        QCOMPARE(list->count(), 1);
        QCOMPARE(r.find<QLineEdit>(&dialog, "edName")->text(), QStringLiteral("Beispiel Semikolon (Latin-1)"));
        dialog.setSampleFile(r.exportPath);
        auto *preview = r.find<QTableWidget>(&dialog, "gridVorschau");
        QCOMPARE(preview->rowCount(), 5);
        QCOMPARE(preview->columnCount(), 14);
        QCOMPARE(preview->horizontalHeaderItem(5)->text(), QStringLiteral("6: Schutzleiterwiderstand"));
        QCOMPARE(preview->item(0, 4)->text(), QStringLiteral("Prüfer")); // Latin-1 read as such
        auto *encoding = r.find<QComboBox>(&dialog, "cbZeichensatz");
        encoding->setCurrentIndex(encoding->findText("UTF-8"));
        QVERIFY(r.find<QLabel>(&dialog, "lblProblem")->text().contains(u"nicht in UTF-8"));
        encoding->setCurrentIndex(encoding->findText("ISO 8859-1"));
        r.find<QComboBox>(&dialog, "cbTrennzeichen")->setCurrentText(QStringLiteral(","));
        QCOMPARE(preview->item(1, 0)->text(), QStringLiteral("Demo-Kunde;85;03.11.2025;09:15;Demo-Prüfer;0"));
        QVERIFY(r.find<QLabel>(&dialog, "lblProblem")->text().contains(u"Dezimalzeichen"));
        r.find<QComboBox>(&dialog, "cbTrennzeichen")->setCurrentText(QStringLiteral(";"));

        r.find<QLineEdit>(&dialog, "edName")->setText(QStringLiteral("Zweites Gerät")); // keyClicks types ASCII only
        r.find<QSpinBox>(&dialog, "spSpalte_bemerkung")->setValue(0);
        r.click(&dialog, "btnSichern");
        QCOMPARE(storedProfileNames(frmDM->Database), QStringList({"Beispiel Semikolon (Latin-1)", "Zweites Gerät"}));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Zweites Gerät"));

        const QString json = r.home.dir.filePath(QStringLiteral("Prüf ordner/zweites.json"));
        r.dialogs.paths.enqueue(json);
        r.click(&dialog, "btnJsonExport");
        QFile file(json);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString error;
        const auto back = TImportProfile::fromJsonText(file.readAll(), &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->name, QStringLiteral("Zweites Gerät"));
        QVERIFY(!back->has(ImportField::Remark));
    }
};

VELMORA_APP_TEST_MAIN(TestImportWindows)
#include "tst_importwindows.moc"
