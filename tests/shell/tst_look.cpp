// How the windows look: German texts of Qt's own dialogs, columns and rows
// sized by the font, margins, Alt keys that reach their commands, the style
// menu and the help without a browser.
#include "AppTestMain.h"
#include "DBGrid.h"
#include "DateField.h"
#include "RunningProgram.h"
#include "StyleChoices.h"
#include "TestDatabase.h"
#include "UDlgConnection.h"
#include "UDlgKunden.h"
#include "UDlgNewDatabase.h"
#include "UDlgPruefer.h"
#include "UDlgPruefgeraet.h"
#include "UDlgSettingPrueflinge.h"
#include "UDlgSplash.h"
#include "UMain.h"
#include "UEtiketten.h"
#include "UPreviewExt.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include <QCalendarWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>

namespace {

// The running program on the demo database; a second inspection of the
// first device failed its function test.
struct Running : TRunningProgram {
    Running()
        : TRunningProgram({"INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                           "PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) "
                           "SELECT 30000, DATEADD(-1 YEAR TO MAX(PRUEFDATUM)), MAX(NEXT_PRUEFDATUM), 11, 11, "
                           "MIN(PRUEFLINGE_ID), 0, 0 FROM PRUEFUNGEN"})
    {
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
    }
};

// The room a cell or title needs for its text, as the item delegate and
// the header draw it: the text and a margin on either side.
int cellRoom(const QWidget *view, const QString &text)
{
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return view->fontMetrics().horizontalAdvance(text) + 2 * margin;
}

QStringList titles(const QAbstractItemView *grid)
{
    QStringList result;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        result << grid->model()->headerData(c, Qt::Horizontal).toString();
    return result;
}

// Every column of a grid holds its title and every value it shows now.
void verifyNothingClipped(TDBGrid *grid)
{
    QHeaderView *header = grid->horizontalHeader();
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
        QVERIFY2(grid->columnWidth(c) >= header->sectionSizeHint(c), qPrintable(title));
        QVERIFY2(grid->columnWidth(c) >= cellRoom(header, title), qPrintable(title));
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            const QString value = grid->model()->index(r, c).data().toString();
            QVERIFY2(grid->columnWidth(c) >= cellRoom(grid, value), qPrintable(title + ": " + value));
        }
    }
}

// The Alt letters of the commands reachable at the same time in a window:
// its buttons, labelled fields and menu titles; each open menu is a scope
// of its own. Returns "letter: text, text" for every letter used twice.
QStringList clashesIn(const QString &scope, const QList<QPair<QString, QString>> &commands)
{
    QMultiMap<QString, QString> byLetter;
    for (const auto &[text, where] : commands) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty())
            byLetter.insert(QString(QChar(key[0].key())).toLower(), where + " \"" + text + "\"");
    }
    QStringList clashes;
    for (const QString &letter : byLetter.uniqueKeys())
        if (byLetter.count(letter) > 1)
            clashes << scope + ": " + letter + " = " + QStringList(byLetter.values(letter)).join(", ");
    return clashes;
}

QStringList accessKeyClashes(QWidget *window)
{
    QList<QPair<QString, QString>> commands;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (w->window() != window || qobject_cast<QMenu *>(w))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            commands.append({button->text(), w->objectName()});
        else if (auto *label = qobject_cast<QLabel *>(w); label && label->buddy())
            commands.append({label->text(), w->objectName()});
        else if (auto *bar = qobject_cast<QMenuBar *>(w))
            for (QAction *menu : bar->actions())
                commands.append({menu->text(), "menu"});
    }
    QStringList clashes = clashesIn(window->objectName(), commands);
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        QList<QPair<QString, QString>> items;
        for (QAction *a : menu->actions())
            items.append({a->text(), a->objectName()});
        clashes << clashesIn(window->objectName() + "/" + menu->title(), items);
    }
    return clashes;
}

} // namespace

class TestLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // Qt's own texts come from its German translations.
    void qtTextsInGerman_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::newRow("file chooser") << "QFileDialog" << "File &name:" << "Datei&name:";
        QTest::newRow("overwrite question") << "QFileDialog" << "%1 already exists.\nDo you want to replace it?"
                                            << "Die Datei %1 existiert bereits.\nSoll sie überschrieben werden?";
        QTest::newRow("print dialog") << "QPrintDialog" << "Print" << "Drucken";
        QTest::newRow("context menu") << "QLineEdit" << "&Undo" << "&Rückgängig";
    }
    void qtTextsInGerman()
    {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, german);
        QCOMPARE(QCoreApplication::translate(qPrintable(context), qPrintable(english)), german);
    }

    void fileChooserShowsGerman()
    {
        QFileDialog chooser(nullptr, QStringLiteral("Datenbank öffnen"));
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        chooser.show();
        auto *label = chooser.findChild<QLabel *>(QStringLiteral("fileNameLabel"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Datei&name:"));
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QCOMPARE(menu->actions().constFirst()->text().section(u'\t', 0, 0), QStringLiteral("&Rückgängig"));
    }

    void captionsWithoutProgramName()
    {
        // The platform appends a display name to every window caption.
        QVERIFY(!QGuiApplication::applicationDisplayName().contains(QStringLiteral("Velmora")));
    }

    void calendarInGerman()
    {
        Running r;
        TPreviewExt window(frmMain);
        QCOMPARE(r.find<DateField>(&window, "dtPicker")->calendarWidget()->locale().language(), QLocale::German);
    }

    void pathFieldsShowTheirStart()
    {
        Running r;
        TdlgDbConnection connection(frmMain);
        QLineEdit *path = r.find<QLineEdit>(&connection, "editDatabase");
        QCOMPARE(path->text(), r.home.dbPath);
        QCOMPARE(path->toolTip(), r.home.dbPath);
        QCOMPARE(path->cursorPosition(), 0);
    }

    void nextInspectionShowsADate()
    {
        Running r;
        r.find<QAbstractButton>(frmMain, "btnPruefungBearbeiten")->click();
        QVERIFY(frmPruefung->isVisible());
        const QString next = r.find<QLineEdit>(frmPruefung, "editNextPruefdatum")->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}$")).match(next).hasMatch(), qPrintable(next));
        r.find<QAbstractButton>(frmPruefung, "btnCancel")->click();
    }

    void gridsShowWholeTitlesAndValues()
    {
        Running r;
        TDBGrid *devices = r.find<TDBGrid>(frmMain, "gridPrueflinge"), *inspections = r.find<TDBGrid>(frmMain, "gridPruefungen");
        QVERIFY(inspections->model()->rowCount() >= 2);
        verifyNothingClipped(devices);
        verifyNothingClipped(inspections);
        // Values the lists show at other times fit as well.
        QVERIFY(inspections->columnWidth(9) >= cellRoom(inspections, "Nicht bestanden"));
        QVERIFY(inspections->columnWidth(2) >= cellRoom(inspections, "Bestanden"));
        QVERIFY(inspections->columnWidth(0) >= cellRoom(inspections, "28.12.2088 23:58"));
        // The given widths are the least ones.
        const QList<int> deviceWidths = {50, 143, 95, 64, 137, 45, 64};
        for (int c = 0; c < deviceWidths.size(); ++c)
            QVERIFY(devices->columnWidth(c) >= deviceWidths.at(c));
        const QList<int> inspectionWidths = {0, 93, 64, 114, 91, 89, 78, 87, 89, 81};
        for (int c = 0; c < inspectionWidths.size(); ++c)
            QVERIFY(inspections->columnWidth(c) >= inspectionWidths.at(c));
    }

    void rowsAsTallAsTheFont()
    {
        Running r;
        for (TDBGrid *grid : {r.find<TDBGrid>(frmMain, "gridPrueflinge"), r.find<TDBGrid>(frmMain, "gridPruefungen")}) {
            const int text = grid->fontMetrics().height();
            QVERIFY(grid->rowHeight(0) >= text);
            QVERIFY2(grid->rowHeight(0) <= text + 8, qPrintable(QString::number(grid->rowHeight(0))));
        }
    }

    void germanTitlesWhileDisconnected()
    {
        Running r;
        const QStringList devices = titles(r.find<TDBGrid>(frmMain, "gridPrueflinge")), inspections = titles(r.find<TDBGrid>(frmMain, "gridPruefungen"));
        r.find<QAction>(frmMain, "Trennen1")->trigger();
        QVERIFY(!frmDM->Database.connected());
        QCOMPARE(titles(r.find<TDBGrid>(frmMain, "gridPrueflinge")), devices);
        QCOMPARE(titles(r.find<TDBGrid>(frmMain, "gridPruefungen")), inspections);
        QVERIFY(!devices.contains("BEZEICHNUNG"));
        QVERIFY(!inspections.contains("SICHTPRUEFUNG_BESTANDEN"));
    }

    // At its designed size each master-data list shows all its columns,
    // titles whole, without scrolling sideways.
    void masterDataListsShowAllColumns_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("Kunden") << "Kunden" << QStringList{"Name", "Straße", "PLZ", "Ort"};
        QTest::newRow("Prüfer") << "Prüfer" << QStringList{"Name"};
        QTest::newRow("Prüfgeräte") << "Prüfgeräte" << QStringList{"Name", "Bezeichnung", "Seriennummer"};
    }
    void masterDataListsShowAllColumns()
    {
        QFETCH(QString, dialog);
        QFETCH(QStringList, columns);
        Running r;
        QDialog *window = dialog == u"Kunden" ? static_cast<QDialog *>(dlgKunden)
                          : dialog == u"Prüfer" ? static_cast<QDialog *>(dlgPruefer)
                                                : static_cast<QDialog *>(dlgPruefgeraete);
        auto *grid = window->findChild<TDBGrid *>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(titles(grid), columns);
        int total = 0;
        for (int c = 0; c < columns.size(); ++c) {
            QVERIFY2(grid->columnWidth(c) >= grid->horizontalHeader()->sectionSizeHint(c), qPrintable(columns.at(c)));
            total += grid->columnWidth(c);
        }
        QVERIFY2(total <= grid->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(total).arg(grid->viewport()->width())));
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
        // The list takes the room the fields leave.
        QVERIFY(grid->width() >= window->width() / 3);
        window->hide();
    }

    void mainWindowMarginsAndProportions()
    {
        Running r;
        const int margin = frmMain->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
        QVERIFY(r.find(frmMain, "pnlLeft")->mapTo(frmMain, QPoint(0, 0)).x() >= margin);
        const QRect bottom(r.find(frmMain, "pnlBottom")->mapTo(frmMain, QPoint(0, 0)), r.find(frmMain, "pnlBottom")->size());
        QVERIFY(bottom.bottom() + margin <= frmMain->statusBar()->geometry().top());
        // The inspection list shows all its columns where the screen is
        // wide enough.
        TDBGrid *inspections = r.find<TDBGrid>(frmMain, "gridPruefungen");
        int columns = 0;
        for (int c = 0; c < inspections->model()->columnCount(); ++c)
            columns += inspections->columnWidth(c);
        if (frmMain->screen()->availableGeometry().width() >= 1024) // else it opens as wide as the screen
            QVERIFY(frmMain->width() >= 966);
        if (frmMain->screen()->availableGeometry().width() >= frmMain->width() + columns - inspections->viewport()->width())
            QVERIFY2(columns <= inspections->viewport()->width(), qPrintable(QString::number(columns)));
        // 146 pixels, give or take the rounding of a menu bar not yet shown.
        QVERIFY2(qAbs(r.find<TDBGrid>(frmMain, "gridPruefungen")->height() - 146) <= 1, qPrintable(QString::number(r.find<TDBGrid>(frmMain, "gridPruefungen")->height())));
    }

    void inspectionWindowGrowsInTheRemark()
    {
        Running r;
        r.find<QAbstractButton>(frmMain, "btnPruefungBearbeiten")->click();
        QWidget *value = r.find(frmPruefung, "editSchutzleitwiderstand"), *remark = r.find(frmPruefung, "memoBemerkung");
        QVERIFY(QTest::qWaitForWindowExposed(frmPruefung));
        const int valueWidth = value->width();
        const QSize remarkSize = remark->size();
        frmPruefung->resize(frmPruefung->size() + QSize(200, 150));
        QTRY_COMPARE(remark->width(), remarkSize.width() + 200);
        QCOMPARE(value->width(), valueWidth);
        QCOMPARE(remark->height(), remarkSize.height() + 150);
        r.find<QAbstractButton>(frmPruefung, "btnCancel")->click();
    }

    void deviceWindowKeepsItsSize()
    {
        Running r;
        r.find<QAbstractButton>(frmMain, "DBNavButton2")->click();
        QVERIFY(QTest::qWaitForWindowExposed(frmPruefling));
        QWidget *length = r.find(frmPruefling, "editLaenge");
        QVERIFY(!length->isVisible());
        const QSize before = frmPruefling->size();
        r.find<QAbstractButton>(frmPruefling, "chkLaenge")->click();
        QVERIFY(length->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(frmPruefling->size(), before);
        r.find<QAbstractButton>(frmPruefling, "BitBtn1")->click();
    }

    // Alt and a letter reach exactly one command in every window.
    void accessKeysUnique()
    {
        Running r;
        TfrmDlgSettingPrueflinge settings(frmMain);
        TdlgDbConnection connection(frmMain);
        TdlgNewDatabase newDatabase(frmMain);
        TdlgSplash splash(frmMain);
        TPreviewExt report(frmMain);
        TfrmEtiketten labels(TLabelChoice{}, frmMain);
        QStringList clashes;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isWindow() && !qobject_cast<QMenu *>(window))
                clashes << accessKeyClashes(window);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));
        // The buttons keep their letters.
        QCOMPARE(r.find<QAbstractButton>(frmMain, "btnPruefungBearbeiten")->text(), QStringLiteral("Prüfung &bearbeiten"));
        QCOMPARE(r.find<QAbstractButton>(frmMain, "btnBerichtErzeugen")->text(), QStringLiteral("Bericht &erzeugen"));
    }

    void accessKeyChecksFindAClash()
    {
        const QStringList clashes = clashesIn("w", {{"&Bearbeiten", "menu"}, {"Prüfung &bearbeiten", "button"}, {"&Neu", "x"}});
        QCOMPARE(clashes.size(), 1);
        QVERIFY(clashes.constFirst().startsWith("w: b = "));
    }

    void helpWithoutBrowserNamesTheAddress()
    {
        Running r;
        r.dialogs.urlOpens = false;
        r.find<QAction>(frmMain, "PruefprotokolleHilfe1")->trigger();
        QCOMPARE(r.dialogs.shown.constFirst().kind, QStringLiteral("url"));
        QCOMPARE(r.dialogs.messages().size(), 1);
        QVERIFY(r.dialogs.messages().constFirst().contains("https://velmora-pruefprotokolle.de/hilfe"));
        r.dialogs.clear();
        r.dialogs.urlOpens = true;
        r.find<QAction>(frmMain, "PruefprotokolleHilfe1")->trigger();
        QVERIFY(r.dialogs.messages().isEmpty());
    }

    void styleChoices_data()
    {
        QTest::addColumn<QString>("startup");
        QTest::addColumn<bool>("onWindows");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("Windows 10") << "windowsvista" << true << QStringList{"Windows", "Windows klassisch", "Fusion"}
                                    << QStringList{"windowsvista", "Windows", "Fusion"};
        // No Windows names where there is no Windows.
        QTest::newRow("Linux, Fusion") << "fusion" << false << QStringList{"Systemstandard", "windowsvista", "Klassisch"}
                                       << QStringList{"fusion", "windowsvista", "Windows"};
        QTest::newRow("Linux, Breeze") << "breeze" << false << QStringList{"Systemstandard", "windowsvista", "Klassisch", "Modern"}
                                       << QStringList{"breeze", "windowsvista", "Windows", "Fusion"};
    }
    void styleChoices()
    {
        QFETCH(QString, startup);
        QFETCH(bool, onWindows);
        QFETCH(QStringList, names);
        QFETCH(QStringList, keys);
        QStringList shownNames, shownKeys;
        for (const TStyleChoice &choice : ::styleChoices(startup, {"windowsvista", "Windows", "Fusion"}, onWindows)) {
            shownNames << choice.name;
            shownKeys << choice.key;
        }
        QCOMPARE(shownNames, names);
        QCOMPARE(shownKeys, keys);
    }

    // A look stored by an earlier version under its Windows name stays chosen.
    void storedStyle_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("this version") << "Klassisch" << 2;
        QTest::newRow("earlier classic") << "Windows klassisch" << 2;
        QTest::newRow("earlier default") << "Windows" << 0;
        QTest::newRow("unknown") << "Motif" << -1;
    }
    void storedStyle()
    {
        QFETCH(QString, stored);
        QFETCH(int, index);
        QCOMPARE(storedStyleIndex(::styleChoices("fusion", {"windowsvista", "Windows", "Fusion"}, false), stored), index);
    }

    // "Systemstandard", the look the program started with, first; every
    // entry gives the main window another look.
    void stylesLookDifferent()
    {
        Running r;
        QList<QAction *> entries = r.find<QMenu>(frmMain, "Ansicht1")->actions();
        entries.removeIf([](QAction *a) { return !a->objectName().startsWith(QStringLiteral("Style_")); });
        QVERIFY(entries.size() >= 2);
        QCOMPARE(entries.constFirst()->text(), QStringLiteral("Systemstandard"));
        QList<QImage> looks;
        for (QAction *entry : entries) {
            entry->trigger();
            QVERIFY(entry->isChecked());
            QCoreApplication::processEvents();
            const QImage look = frmMain->grab().toImage();
            for (int i = 0; i < looks.size(); ++i)
                QVERIFY2(look != looks.at(i), qPrintable(entry->text() + " looks like " + entries.at(i)->text()));
            looks << look;
        }
        entries.constFirst()->trigger();
    }
};

VELMORA_APP_TEST_MAIN(TestLook)
#include "tst_look.moc"
