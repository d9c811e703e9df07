// Takes the README's pictures of the running program: the main window, the
// device window, the inspection window, a report preview and the label
// window, on the demonstration database (with a few more devices) in a
// temporary folder.
// Run it under a display (scripts/screenshots.sh starts a virtual one).
// With --screen each picture is the whole screen, to see whether a window
// fits a small or scaled screen.
//
//   velmora-screenshots FOLDER [--screen]
// VELMORA_SCREENSHOT_DATABASE names a file to show instead of the demo
// records.
#include "Application.h"
#include "ProgramLocale.h"
#include "Database.h"
#include "ImportScreenshots.h"
#include "NewDatabase.h"
#include "Query.h"
#include "QtDialogs.h"
#include "ScreenFit.h"
#include "UEtiketten.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include "UProgram.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include "ui_UMain.h"
#include <QDir>
#include <QScreen>
#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

namespace {

const char *const kMoreRecords[] = {
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID, VARIABEL, LAENGE, "
    "GRENZWERT0) VALUES (1100, 'Kabeltrommel 25 m', 87, 'I', 'Werkstatt', 6, 101, 1, 25, 0.6)",
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES "
    "(1101, 'Wasserkocher', 88, 'I', 'Teeküche', 12, 101)",
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES "
    "(1102, 'Schreibtischleuchte', 89, 'II', 'Büro Müller', 24, 101)",
    "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
    "SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, "
    "ISOLATIONSPRUEFUNG_BESTANDEN, ERSATZABLEITSTROM, ERSATZABLEITSTROM_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) "
    "VALUES (1200, '2015-01-09 10:15', '2016-01-09', 11, 11, 1001, 1, 0.31, 0, 25.5, 1, 0.42, 1, 1)",
};

bool createDatabase(const QString &path)
{
    TDatabase db;
    TTransaction transaction(&db);
    db.params = connectionParams();
    createVelmoraDatabase(db, path);
    TQuery query(&db);
    for (const char *sql : kMoreRecords) {
        query.setSql(QString::fromUtf8(sql));
        query.execQuery();
    }
    transaction.commit();
    return true;
}

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(30);
    }
}

bool wholeScreen = false;

bool save(QWidget *window, const QString &folder, const QString &name)
{
    settle();
    const QString path = QDir(folder).filePath(name);
    const bool saved = (wholeScreen ? window->screen()->grabWindow(0) : window->grab()).save(path);
    QTextStream(stdout) << (saved ? "geschrieben: " : "FEHLER: ") << path << Qt::endl;
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    // Settings and data of a user of their own, so that nothing of the
    // real user's changes.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    TApplication app(argc, argv);
    applyProgramLocale();
    const QStringList args = QCoreApplication::arguments();
    wholeScreen = args.size() == 3 && args.at(2) == u"--screen";
    if (args.size() != 2 && !wholeScreen) {
        QTextStream(stderr) << "Aufruf: velmora-screenshots ORDNER [--screen]" << Qt::endl;
        return 2;
    }
    const QString folder = args.at(1);
    QDir().mkpath(folder);
    // VELMORA_SCREENSHOT_DATABASE: an existing file (a large one, to see
    // the windows at a firm's size) instead of the demo records.
    QString dbPath = qEnvironmentVariable("VELMORA_SCREENSHOT_DATABASE");
    if (dbPath.isEmpty()) {
        dbPath = home.filePath(QStringLiteral("VELMORA.FDB"));
        createDatabase(dbPath);
    }
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orbenta"), QStringLiteral("Tarnholm"))
        .setValue(QStringLiteral("DBName"), dbPath);

    TQtDialogs dialogs;
    setDialogs(&dialogs);
    TProgram program;
    program.create();
    Ui::TfrmMain *ui = frmMain->ui();
    frmMain->move(0, 0);
    frmMain->show();
    bool ok = save(frmMain, folder, QStringLiteral("hauptfenster.png"));

    frmDM->dsetPrueflinge.locatePrefix(QStringLiteral("BEZEICHNUNG"), QStringLiteral("Kabel"), false); // length and limit
    ui->DBNavButton2->click();
    ok = save(frmPruefling, folder, QStringLiteral("pruefling.png")) && ok;
    frmPruefling->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();

    frmDM->dsetPrueflinge.first();
    ui->btnPruefungBearbeiten->click();
    ok = save(frmPruefung, folder, QStringLiteral("pruefung.png")) && ok;
    frmPruefung->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();

    if (std::unique_ptr<TPreviewExt> report = TPreviewExt::create(0, frmMain)) {
        resizeWithinScreen(report.get(), QSize(1000, 720));
        report->show();
        ok = save(report.get(), folder, QStringLiteral("bericht.png")) && ok;
        report->close();
    } else {
        ok = false;
    }
    frmMain->findChild<QAction *>(QStringLiteral("Faelligkeiten1"))->trigger();
    if (auto *due = frmMain->findChild<QWidget *>(QStringLiteral("frmDueDates"))) {
        auto *horizon = due->findChild<QComboBox *>(QStringLiteral("cbFaelligZeitraum"));
        horizon->setCurrentIndex(horizon->findText(QStringLiteral("in 90 Tagen")));
        resizeWithinScreen(due, QSize(960, 440));
        ok = save(due, folder, QStringLiteral("faelligkeiten.png")) && ok;
        due->close();
    } else {
        ok = false;
    }
    {
        TLabelChoice choice;
        choice.currentDevice = 1001;
        choice.customerId = 101;
        TfrmEtiketten labels(choice, frmMain);
        resizeWithinScreen(&labels, QSize(1000, 640));
        labels.show();
        ok = save(&labels, folder, QStringLiteral("etiketten.png")) && ok;
        labels.close();
    }
    ok = saveImportScreenshots(frmMain, [&](QWidget *w, const QString &name) { return save(w, folder, name); }) && ok;
    program.destroy();
    return ok ? 0 : 1;
}
