#pragma once
// The steps of a working day, each as a user takes it in the running
// program: menus, buttons, typing, the keyboard. A day is a run of the
// program over the database in the folder "Prüf ordner"; each step leaves
// rows that the day then reads back with SQL, and PDFs whose text it reads
// with pdftotext.
#include "RunningProgram.h"
#include "UDlgAuftragnehmer.h"
#include "UDlgKunden.h"
#include "UDlgPruefer.h"
#include "UDlgPruefgeraet.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include <QApplication>
#include <QCheckBox>
#include <limits>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QTimer>

// The firm as its first day leaves it: the contractor, an inspector and an
// instrument of its own, and a customer with four devices (classes I, II,
// III, one with a cable box of 25 m). The demo rows stay beside them.
namespace firm {
inline const QString kContractor = QStringLiteral("Elektro Jürgensen GmbH");
inline const QString kInspector = QStringLiteral("Jörg Weiß");
inline const QString kInstrument = QStringLiteral("Benning ST 760");
inline const QString kCustomer = QStringLiteral("Bäckerei Krümel");
inline const int kCustomerId = 300;

struct Device {
    const char *name;
    const char *schutzklasse;
    const char *cableMetres; // empty: no cable box
    const char *limit;       // of the protective conductor, as the device window sets it
};
inline const Device kDevices[] = {{"Bohrmaschine", "I", "", "0.3000"},
                                  {"Föhn", "II", "", "0.3000"},
                                  {"Handlampe", "III", "", "0.3000"},
                                  {"Kabeltrommel", "I", "25", "0.5700"}};

inline QStringList rows()
{
    QStringList sql = {
        QStringLiteral("UPDATE AUFTRAGNEHMER SET NAME = '%1'").arg(kContractor),
        QStringLiteral("INSERT INTO PRUEFER (ID, NAME) VALUES (30, '%1')").arg(kInspector),
        QStringLiteral("INSERT INTO PRUEFGERAETE (ID, NAME, BEZEICHNUNG, SERIENNUMMER) VALUES (30, 'Benning', 'ST 760', 'SN 4711')"),
        QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (%1, '%2')").arg(kCustomerId).arg(kCustomer)};
    int id = 3000;
    for (const Device &d : kDevices) {
        const bool cable = *d.cableMetres != 0;
        sql << QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID, SCHUTZKLASSE, VARIABEL, LAENGE, "
                              "GRENZWERT0) VALUES (%1, '%2', %3, 12, %4, '%5', %6, %7, %8)")
                   .arg(id)
                   .arg(QString::fromUtf8(d.name))
                   .arg(id - 2999)
                   .arg(kCustomerId)
                   .arg(QString::fromLatin1(d.schutzklasse))
                   .arg(cable ? 1 : 0)
                   .arg(cable ? QString::fromLatin1(d.cableMetres) : QStringLiteral("NULL"))
                   .arg(QString::fromLatin1(d.limit));
        ++id;
    }
    return sql;
}
} // namespace firm

struct WorkingDay : TRunningProgram {
    explicit WorkingDay(const QDateTime &morning, const QStringList &rows = {}) : TRunningProgram(rows, morning)
    {
        frmMain->show();
        activate(frmMain);
    }
    // The program closed and started again on the same file, as the next
    // morning.
    void restart()
    {
        program.destroy();
        program.create();
        frmMain->show();
        activate(frmMain);
    }
    // Keys go to the active window, as on a desktop.
    static void activate(QWidget *window)
    {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qWarning("%s did not become active", qPrintable(window->objectName()));
    }

    // --- typing ----------------------------------------------------------
    // Key by key, umlauts included (QTest's own table knows only ASCII).
    static void keys(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(widget, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        }
    }
    static void typeWithoutReturn(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        keys(edit, text);
    }
    static void type(QLineEdit *edit, const QString &text)
    {
        typeWithoutReturn(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // --- master data -----------------------------------------------------
    void openFromMenu(const char *action) { find<QAction>(frmMain, action)->trigger(); }
    void setUpContractor(const QString &name, const QString &street, const QString &postcode, const QString &town)
    {
        openFromMenu("Auftragnehmer1");
        typeWithoutReturn(find<QLineEdit>(dlgAuftragnehmer, "editName"), name);
        typeWithoutReturn(find<QLineEdit>(dlgAuftragnehmer, "editStrasse"), street);
        typeWithoutReturn(find<QLineEdit>(dlgAuftragnehmer, "editPlz"), postcode);
        typeWithoutReturn(find<QLineEdit>(dlgAuftragnehmer, "editOrt"), town);
        click(dlgAuftragnehmer, "btnSichern");
        click(dlgAuftragnehmer, "btnSchliessen");
    }
    // "Neu", the fields in order, "Sichern", "Schließen" in one of the list
    // dialogs.
    void addInDialog(QWidget *dialog, const QList<std::pair<const char *, QString>> &fields)
    {
        click(dialog, "btnNeu");
        for (const auto &[name, value] : fields)
            typeWithoutReturn(find<QLineEdit>(dialog, name), value);
        click(dialog, "btnSichern");
        click(dialog, "btnSchliessen");
    }
    void addInspector(const QString &name)
    {
        openFromMenu("Pruefer1");
        addInDialog(dlgPruefer, {{"editName", name}});
    }
    void addInstrument(const QString &name, const QString &type, const QString &serial)
    {
        openFromMenu("Pruefgeraete1");
        addInDialog(dlgPruefgeraete, {{"editName", name}, {"editBezeichnung", type}, {"editSeriennummer", serial}});
    }
    void addCustomer(const QString &name)
    {
        openFromMenu("Kunden1");
        addInDialog(dlgKunden, {{"editName", name}});
    }

    // --- main window -----------------------------------------------------
    void chooseCustomer(const QString &name)
    {
        auto *customers = find<QComboBox>(frmMain, "cbKunden");
        // A window that just closed may leave work that still holds the
        // main window (a modal window, the list disabled): letters typed
        // then would go nowhere, as for a user.
        QTRY_VERIFY_WITH_TIMEOUT(customers->isEnabled() && !QApplication::activeModalWidget(), 20000);
        customers->setFocus();
        // Typing the first letters picks the customer, as in any list. The
        // list joins letters typed within the keyboard interval (400 ms); on
        // a loaded machine the letters of one name can come further apart
        // and each would start a search of its own. So the first letter
        // starts a fresh search, and the rest are joined to it whatever
        // time passes.
        const int interval = QApplication::keyboardInputInterval();
        QTest::qWait(interval + 50);
        keys(customers, name.left(1));
        QApplication::setKeyboardInputInterval(std::numeric_limits<int>::max());
        keys(customers, name.mid(1, 3));
        QApplication::setKeyboardInputInterval(interval);
    }
    QString currentCustomer() { return find<QComboBox>(frmMain, "cbKunden")->currentText(); }
    void chooseDevice(const QString &name)
    {
        auto *grid = find<QAbstractItemView>(frmMain, "gridPrueflinge");
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            for (int column = 0; column < grid->model()->columnCount(); ++column)
                if (grid->model()->index(row, column).data().toString() == name) {
                    clickRow(grid, row, column);
                    return;
                }
        QFAIL(qPrintable(QStringLiteral("no device ") + name));
    }

    // --- device window ---------------------------------------------------
    void addDevice(const firm::Device &device)
    {
        click(frmMain, "DBNavButton1"); // "Neuer Prüfling"
        typeWithoutReturn(find<QComboBox>(frmPruefling, "cbBezeichnung")->lineEdit(), QString::fromUtf8(device.name));
        auto *schutzklasse = find<QComboBox>(frmPruefling, "cbSchutzklasse");
        schutzklasse->setFocus();
        QTest::keyClick(schutzklasse, Qt::Key_Home);
        for (int i = 0; i < schutzklasse->count() && schutzklasse->currentText() != QString::fromLatin1(device.schutzklasse); ++i)
            QTest::keyClick(schutzklasse, Qt::Key_Down);
        if (*device.cableMetres) {
            click(frmPruefling, "chkLaenge");
            type(find<QLineEdit>(frmPruefling, "editLaenge"), QString::fromLatin1(device.cableMetres));
        }
        click(frmPruefling, "btnSave");
    }

    // --- inspection window -----------------------------------------------
    QLineEdit *inspectionField(const char *name) { return find<QLineEdit>(frmPruefung, name); }
    QString inspector() { return find<QComboBox>(frmPruefung, "cbPruefer")->currentText(); }
    // Picks the inspector by typing its first letters into the list.
    void chooseInspector(const QString &name)
    {
        auto *list = find<QComboBox>(frmPruefung, "cbPruefer");
        list->setFocus();
        keys(list, name.left(3));
    }
    // Each value typed into its field and confirmed with Enter.
    void typeValues(const QList<std::pair<const char *, QString>> &values)
    {
        for (const auto &[name, value] : values)
            type(inspectionField(name), value);
    }
    // A button reached with Tab and pressed with the space bar. (Alt and the
    // underlined letter would be the shorter way, but QTest's key events
    // offscreen do not reach the shortcut map.)
    static void pressByKeyboard(QWidget *window, const char *button)
    {
        auto *b = find<QAbstractButton>(window, button);
        b->setFocus(Qt::TabFocusReason);
        QTest::keyClick(b, Qt::Key_Space);
    }
    static bool newInspectionByKeyboard()
    {
        pressByKeyboard(frmMain, "btnNeuePruefung");
        return frmPruefung->isVisible();
    }
    static bool saveInspectionByKeyboard()
    {
        pressByKeyboard(frmPruefung, "btnSave");
        return !frmPruefung->isVisible();
    }

    // --- reports ---------------------------------------------------------
    // Runs a command that opens the report window, does the work there and
    // closes it, as the window is modal.
    void inReportWindow(const std::function<void()> &open, const std::function<void(TPreviewExt *)> &work)
    {
        inModalWindow<TPreviewExt>(open, work);
    }
    // The same for any modal window of the type.
    template<class Window>
    void inModalWindow(const std::function<void()> &open, const std::function<void(Window *)> &work)
    {
        bool seen = false;
        // The window makes its pages before it shows itself, letting timers
        // run meanwhile: look again until it is on screen.
        QTimer look;
        look.setInterval(10);
        QObject::connect(&look, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *window = qobject_cast<Window *>(w); window && window->isVisible() && !seen) {
                    seen = true;
                    look.stop();
                    work(window);
                    window->close();
                }
        });
        look.start();
        open();
        look.stop();
        QVERIFY(seen);
    }
    // Saves the report window's pages as PDF into the folder with "ü";
    // returns the name the program proposed.
    QString savePdf(TPreviewExt *window, const QString &path)
    {
        dialogs.paths.enqueue(path);
        click(window, "btnSavePDF");
        return QFileInfo(dialogs.shown.last().text).fileName();
    }
    QString file(const QString &name) const { return home.dir.filePath(QStringLiteral("Prüf ordner/") + name); }

    static QString pdfText(const QString &path)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // The lines of a PDF's text that hold a text, blanks run together.
    static QStringList pdfLines(const QString &text, const QString &holding)
    {
        QStringList lines;
        for (const QString &line : text.split(u'\n'))
            if (line.contains(holding))
                lines << line.simplified();
        return lines;
    }

    // --- rows --------------------------------------------------------------
    qint64 count(const QString &table, const QString &where = QString())
    {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
    }
    int deviceId(const QString &name)
    {
        return static_cast<int>(scalar(QStringLiteral("SELECT p.ID FROM PRUEFLINGE p JOIN KUNDEN k ON k.ID = p.KUNDEN_ID "
                                                      "WHERE k.NAME = '%1' AND p.BEZEICHNUNG = '%2'")
                                           .arg(firm::kCustomer, name)));
    }
    // The newest inspection of a device: column by column, as text.
    QString latest(const QString &device, const QString &column)
    {
        return text(QStringLiteral("SELECT FIRST 1 %1 FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = %2 ORDER BY PRUEFDATUM DESC, ID DESC").arg(column).arg(deviceId(device)));
    }
};
