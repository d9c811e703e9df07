#include "UMain.h"
#include "Application.h"
#include "CustomerList.h"
#include "DBNavButton.h"
#include "EditingWindow.h"
#include "FirmDatabase.h"
#include "FirstStartWindow.h"
#include "Measurements.h"
#include "ScreenFit.h"
#include "StyleChoices.h"
#include "USettings.h"
#include "ui_UMain.h"
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QStyleFactory>

TfrmMain *frmMain = nullptr;

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::TfrmMain>())
{
    frmMain = this;
    frmDM->setMainView(this);
    m_ui->setupUi(this);
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setMinimumWidth(i == 0 ? 200 : 50);
        statusBar()->addWidget(m_panels[i], i);
    }
    m_panels[0]->setMaximumWidth(200);
    addDuePanel();
    bindControls();
    connectCommands();
    setupNavigators();
    setupScanning();
    FormCreate();
    setInitialSize();
}

void TfrmMain::setInitialSize()
{
    // 966 x 505 below the menu bar, status bar included, or larger when the
    // font needs it: the inspection list starts 146 pixels high and as wide
    // as its columns (as far as the screen allows), and the device list
    // takes any further height.
    const int inspectionListHeight = 146;
    QSplitter *splitter = m_ui->Splitter1;
    TDBGrid *inspections = m_ui->gridPruefungen;
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->ensurePolished(); // measured as they will show
    inspections->setMinimumHeight(inspectionListHeight);
    const int leastHeight = minimumSizeHint().height();
    inspections->setMinimumHeight(0);
    int columns = 0;
    for (int c = 0; c < inspections->model()->columnCount(); ++c)
        columns += inspections->columnWidth(c);
    const QMargins margins = m_ui->layMain->contentsMargins();
    const int listWidth = columns + 2 * inspections->frameWidth() + inspections->verticalScrollBar()->sizeHint().width();
    resizeWithinScreen(this, QSize(std::max(966, listWidth + margins.left() + margins.right()),
                                   std::max(505 + menuBar()->sizeHint().height(), leastHeight)));
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({height(), inspectionListHeight});
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
    frmDM->setMainView(nullptr);
    if (frmMain == this)
        frmMain = nullptr;
}

QLabel *TfrmMain::statusPanel(int index) const { return m_panels[index]; }

void TfrmMain::bindControls()
{
    const struct {
        TDBEdit *edit;
        const char *field;
    } edits[] = {{m_ui->editBezeichnung, "BEZEICHNUNG"},
                 {m_ui->editNummer, "NUMMER"},
                 {m_ui->editSchutzklasse, "SCHUTZKLASSE"},
                 {m_ui->editOrt, "ORT"},
                 {m_ui->editPruefinterval, "PRUEFINTERVAL"}};
    for (const auto &e : edits) {
        e.edit->setDataSource(&frmDM->dsrcPrueflinge);
        e.edit->setDataField(QString::fromLatin1(e.field));
    }
    m_ui->chkAktiv->setDataSource(&frmDM->dsrcPrueflinge);
    m_ui->chkAktiv->setDataField(QStringLiteral("AKTIV"));
    m_ui->chkAktiv->setReadOnly(true);
    m_ui->txtAnzahl->setDataSource(&frmDM->dsrcAnzahlPrueflinge);
    m_ui->txtAnzahl->setDataField(QStringLiteral("COUNT"));

    frmDM->dsetPrueflinge.fieldByName(QStringLiteral("SCHUTZKLASSE"))->alignment = Qt::AlignHCenter;
    m_ui->cbKunden->installEventFilter(this); // opens its list as soon as the user types
    m_ui->gridPrueflinge->setDataSource(&frmDM->dsrcPrueflinge);
    // Tab leaves the lists: walking their cells would move to the next row
    // and silently choose another device or inspection.
    m_ui->gridPrueflinge->setTabKeyNavigation(false);
    m_ui->gridPruefungen->setTabKeyNavigation(false);
    m_ui->gridPrueflinge->setColumns({{QStringLiteral("ID"), QStringLiteral("ID"), 50, false},
                                      {QStringLiteral("BEZEICHNUNG"), {}, 143, false},
                                      {QStringLiteral("NUMMER"), {}, 95, false},
                                      {QStringLiteral("SCHUTZKLASSE"), {}, 64, false},
                                      {QStringLiteral("ORT"), {}, 137, false},
                                      {QStringLiteral("PRUEFINTERVAL"), {}, 45, false},
                                      {QStringLiteral("AKTIV"), QStringLiteral("Aktiv"), 64, false},
                                      {QStringLiteral("NAECHSTE_PRUEFUNG"), {}, 90, false}});
    showAttentionMarks();
    m_ui->gridPruefungen->setDataSource(&frmDM->dsrcPruefungen);
    QList<TGridColumn> inspectionColumns = {{QStringLiteral("PRUEFDATUM"), QStringLiteral("Prüfdatum"), 0, false},
                                            {QStringLiteral("Pruefer"), QStringLiteral("Prüfer"), 93, false},
                                            {QStringLiteral("Pruefgeraet"), QStringLiteral("Prüfgerät"), 0, true},
                                            {QStringLiteral("SICHTPRUEFUNG_BESTANDEN"), QStringLiteral("Sichtprüfung"), 64, false}};
    for (const Measurement &m : kMeasurements)
        inspectionColumns.append(TGridColumn{m.valueColumn(), m.germanLabel(), m.gridWidth, false});
    inspectionColumns.append(TGridColumn{QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("Funktionsprüfung"), 89, false});
    inspectionColumns.append(TGridColumn{QStringLiteral("Pruefung_Bestanden"), {}, 81, false});
    m_ui->gridPruefungen->setColumns(inspectionColumns);
}

void TfrmMain::connectCommands()
{
    connect(m_ui->Ende1, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->Verbinden1, &QAction::triggered, this, &TfrmMain::Verbinden1Click);
    connect(m_ui->Trennen1, &QAction::triggered, this, &TfrmMain::Trennen1Click);
    connect(m_ui->Pruefen1, &QAction::triggered, this, &TfrmMain::Pruefen1Click);
    connect(m_ui->cbKunden, &QComboBox::activated, this, [this] { showPrueflinge(); });
}

void TfrmMain::FormCreate()
{
    frmDM->setFormValid(true);
    buildStyleMenu();
    addRefreshCommand();
    m_ui->editLocate->clear();
    FPrueflingLocate = false;
    // Without a database file the first-start window offers to make or
    // choose one; an open that is bound to fail says nothing.
    m_firstStartPending = databaseFileMissing(frmDM->Settings()->DBName());
    if (m_firstStartPending) {
        showConnectionState(QStringLiteral("Datenbank nicht verbunden"), QString());
        return;
    }
    if (!frmDM->Connect())
        return;
    if (!frmDM->Transaction.active())
        frmDM->Transaction.start();
    Init2();
}

void TfrmMain::offerFirstStart()
{
    if (!m_firstStartPending)
        return;
    m_firstStartPending = false;
    show(); // the window opens over the main window, not alone
    auto *window = new FirstStartWindow(frmDM->Settings()->DBName(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->activateWindow();
}

void TfrmMain::FormDestroy()
{
    frmDM->setFormValid(false);
    if (const auto customer = selectedCustomerId())
        frmDM->Settings()->setKundeID(*customer);
    if (FCurrentStyleNum >= 0 && FCurrentStyleNum < FStyleNames.size())
        frmDM->Settings()->setStyleName(FStyleNames.at(FCurrentStyleNum));
}

void TfrmMain::Init2()
{
    if (!frmDM->Database.connected())
        return;
    if (!frmDM->Transaction.active())
        frmDM->Transaction.start();
    enableDatabaseCommands(true);
    // The remembered customer is chosen before any device is read: the
    // first customer of the list is not the one shown.
    fillCustomerList(m_ui->cbKunden, *frmDM, CustomerScope::Active);
    selectCbKunden(frmDM->Settings()->KundeID());
    frmDM->setPrueflingeSQL();
    showCustomerFigures();
}

void TfrmMain::showDeviceCount()
{
    frmDM->dsetAnzahlPrueflinge.close();
    const auto customer = selectedCustomerId();
    if (!customer || !frmDM->Database.connected())
        return;
    frmDM->dsetAnzahlPrueflinge.paramByName(QStringLiteral("ID")).setAsInteger(*customer);
    frmDM->dsetAnzahlPrueflinge.open();
}

void TfrmMain::fillCbKunden()
{
    fillCustomerList(m_ui->cbKunden, *frmDM, CustomerScope::Active); // inactive customers stay out of the choice
    showPrueflinge();
}

void TfrmMain::selectCbKunden(int kundeId)
{
    const int index = m_ui->cbKunden->findData(kundeId);
    if (index >= 0)
        m_ui->cbKunden->setCurrentIndex(index);
}

void TfrmMain::showPrueflinge()
{
    frmDM->dsetPrueflinge.close();
    if (const auto customer = selectedCustomerId()) {
        frmDM->dsetPrueflinge.param(0).setAsInteger(*customer);
        frmDM->dsetPrueflinge.open();
    }
    showCustomerFigures();
}

void TfrmMain::showCustomerFigures()
{
    showDeviceCount();
    updateDeviceCommands();
    showDueCounts();
}

void TfrmMain::addDuePanel()
{
    m_duePanel = new QLabel(this);
    m_duePanel->setObjectName(QStringLiteral("StatusPanelDue"));
    statusBar()->addPermanentWidget(m_duePanel);
}

void TfrmMain::showDueCounts()
{
    const auto customer = selectedCustomerId();
    m_duePanel->setText(customer && frmDM->Database.connected() ? dueCountsText(frmDM->customerDueCounts(*customer)) : QString());
}

void TfrmMain::updateDeviceCommands()
{
    for (TDBNavButton *b : {m_ui->DBNavButton1, m_ui->DBNavButton2, m_ui->DBNavButton3})
        b->refreshState();
}

void TfrmMain::showConnectionState(const QString &state, const QString &fileName)
{
    m_panels[0]->setText(state);
    m_panels[1]->setText(fileName);
}

void TfrmMain::showConnectionState(const QString &state) { m_panels[0]->setText(state); }

void TfrmMain::clearCustomerList()
{
    m_ui->cbKunden->clear();
    updateDeviceCommands();
}

std::optional<int> TfrmMain::selectedCustomerId() const
{
    const int index = m_ui->cbKunden->currentIndex();
    if (index < 0)
        return std::nullopt;
    return m_ui->cbKunden->itemData(index).toInt();
}

void TfrmMain::Verbinden1Click()
{
    if (!finishOpenEdits())
        return;
    frmDM->Connect();
    if (frmDM->Database.connected())
        Init2();
}

void TfrmMain::Trennen1Click()
{
    if (finishOpenEdits())
        frmDM->Database.close();
}

bool TfrmMain::finishOpenEdits()
{
    if (!mayCloseAllEditing(frmDM->editableDataSets()))
        return false;
    // Nothing is edited any more; a device or inspection window left open
    // would edit whatever record the lists show next, even of another file.
    const QList<TEditingWindow *> windows = findChildren<TEditingWindow *>(Qt::FindDirectChildrenOnly);
    for (TEditingWindow *window : windows)
        window->hide();
    return true;
}

void TfrmMain::enableDatabaseCommands(bool connected)
{
    m_ui->Bearbeiten1->setEnabled(connected);
    for (QAction *a : {m_ui->Trennen1, m_ui->Backup1, m_ui->Pruefen1})
        a->setEnabled(connected);
    // "Verbinden" opens the file of the settings again; once that file has
    // worked it stays offered, most of all after "Trennen".
    if (connected)
        m_ui->Verbinden1->setEnabled(true);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (finishOpenEdits())
        event->accept();
    else
        event->ignore();
}

namespace {
// The look the program started with stands for the platform's own look.
QString platformStyleName()
{
    static const QString name = QApplication::style()->name();
    return name;
}
} // namespace

void TfrmMain::buildStyleMenu()
{
#ifdef Q_OS_WIN
    const bool onWindows = true;
#else
    const bool onWindows = false;
#endif
    const QList<TStyleChoice> choices = styleChoices(platformStyleName(), QStyleFactory::keys(), onWindows);
    FStyleNames.clear();
    m_styleKeys.clear();
    for (const TStyleChoice &choice : choices) {
        FStyleNames << choice.name;
        m_styleKeys << choice.key;
    }
    const int stored = storedStyleIndex(choices, frmDM->Settings()->StyleName());
    FCurrentStyleNum = 0;
    m_ui->Ansicht1->clear();
    for (int i = 0; i < FStyleNames.size(); ++i) {
        QAction *a = m_ui->Ansicht1->addAction(FStyleNames.at(i));
        a->setObjectName(QStringLiteral("Style_") + FStyleNames.at(i));
        a->setCheckable(true);
        a->setData(i);
        if (i == stored) {
            a->setChecked(applyStyle(i));
            FCurrentStyleNum = i;
        }
        connect(a, &QAction::triggered, this, [this, i] {
            const bool applied = applyStyle(i);
            const QList<QAction *> items = m_ui->Ansicht1->actions();
            for (QAction *item : items)
                item->setChecked(item->data().toInt() == (applied ? i : FCurrentStyleNum));
            if (applied)
                FCurrentStyleNum = i;
        });
    }
}

bool TfrmMain::applyStyle(int index)
{
    QStyle *style = QStyleFactory::create(m_styleKeys.value(index));
    if (!style)
        return false;
    QApplication::setStyle(style);
    return true;
}
