#include "UDueDates.h"
#include "AttentionLook.h"
#include "Clock.h"
#include "DateField.h"
#include "UDM.h"
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
enum Column { ColCustomer, ColPlace, ColName, ColNumber, ColDate, ColMarks, ColumnCount };
constexpr int kDeviceRole = Qt::UserRole;
constexpr int kCustomerRole = Qt::UserRole + 1;
constexpr int kSortRole = Qt::UserRole + 2;

// Sorts by the hidden sort key, so dates sort as dates and a device never
// inspected comes first.
class TSortedItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return data(column, kSortRole).toString().localeAwareCompare(other.data(column, kSortRole).toString()) < 0;
    }
};

void setCell(QTreeWidgetItem *item, int column, const QString &text, const QString &sortKey)
{
    item->setText(column, text);
    item->setData(column, kSortRole, sortKey);
}
} // namespace

TfrmDueDates::TfrmDueDates(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmDueDates"));
    setWindowTitle(QStringLiteral("Fälligkeiten"));
    buildControls();
    resize(960, 520);
}

void TfrmDueDates::buildControls()
{
    m_horizon = new QComboBox(this);
    m_horizon->setObjectName(QStringLiteral("cbFaelligZeitraum"));
    for (TDueHorizon h : {TDueHorizon::Overdue, TDueHorizon::EndOfMonth, TDueHorizon::Days30, TDueHorizon::Days60,
                          TDueHorizon::Days90, TDueHorizon::UntilDate})
        m_horizon->addItem(dueHorizonName(h), int(h));
    m_horizon->setCurrentIndex(2);
    m_until = new DateField(this);
    m_until->setObjectName(QStringLiteral("editFaelligBis"));
    m_until->setEnabled(false);
    m_customer = new QComboBox(this);
    m_customer->setObjectName(QStringLiteral("cbFaelligKunde"));
    m_place = new QLineEdit(this);
    m_place->setObjectName(QStringLiteral("editFaelligOrt"));
    m_place->setClearButtonEnabled(true);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeFaellig"));
    m_tree->setColumnCount(ColumnCount);
    m_tree->setHeaderLabels({QStringLiteral("Kunde"), QStringLiteral("Ort"), QStringLiteral("Bezeichnung"),
                             QStringLiteral("Nummer"), QStringLiteral("Nächste Prüfung"), QStringLiteral("Hinweis")});
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(ColDate, Qt::AscendingOrder);
    m_tree->installEventFilter(this);
    // Wide enough for a date with "– überfällig" and a customer's name.
    const int widths[] = {160, 130, 170, 70, 170};
    for (int column = 0; column < ColMarks; ++column)
        m_tree->header()->resizeSection(column, widths[column]);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("lblFaelligGesamt"));
    auto *print = new QPushButton(QStringLiteral("&Drucken..."), this);
    print->setObjectName(QStringLiteral("btnFaelligDrucken"));
    print->setToolTip(QStringLiteral("Die angezeigte Liste als Bericht: Vorschau, Drucken, PDF"));
    auto *close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("btnFaelligSchliessen"));

    auto *filters = new QFormLayout;
    auto *horizonRow = new QHBoxLayout;
    horizonRow->addWidget(m_horizon);
    horizonRow->addWidget(m_until);
    auto *horizonLabel = new QLabel(QStringLiteral("&Zeitraum:"), this);
    horizonLabel->setBuddy(m_horizon);
    filters->addRow(horizonLabel, horizonRow);
    filters->addRow(QStringLiteral("K&unde:"), m_customer);
    filters->addRow(QStringLiteral("&Ort enthält:"), m_place);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_tree, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_total, 1);
    bottom->addWidget(print);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    connect(m_horizon, &QComboBox::currentIndexChanged, this, [this] {
        m_until->setEnabled(TDueHorizon(m_horizon->currentData().toInt()) == TDueHorizon::UntilDate);
        reload();
    });
    connect(m_until, &DateField::dateChosen, this, [this] { reload(); });
    connect(m_customer, &QComboBox::currentIndexChanged, this, [this] { reload(); });
    connect(m_place, &QLineEdit::textChanged, this, [this] { showList(); });
    connect(print, &QPushButton::clicked, this, [this] { emit printRequested(reportSelection()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) { chooseItem(item); });
}

std::optional<int> TfrmDueDates::chosenCustomer() const
{
    return m_customer->currentData().isValid() ? std::optional<int>(m_customer->currentData().toInt()) : std::nullopt;
}

QDate TfrmDueDates::horizonEnd() const
{
    return dueHorizonEnd(TDueHorizon(m_horizon->currentData().toInt()), TClock::today(), m_until->date());
}

TReportSelection TfrmDueDates::reportSelection() const
{
    const auto horizon = TDueHorizon(m_horizon->currentData().toInt());
    TReportSelection selection;
    selection.report = TReportSelection::Report::Due;
    selection.customerId = m_customer->currentData().isValid() ? m_customer->currentData().toInt() : -1;
    selection.dueUntil = horizonEnd();
    selection.dueHorizon = dueHorizonText(horizon, TClock::today(), m_until->date());
    selection.duePlace = m_place->text().trimmed();
    return selection;
}

void TfrmDueDates::reload()
{
    const bool connected = frmDM->Database.connected();
    // Only the chosen customer's, when one is chosen: read again at each
    // change of the choice.
    m_devices = connected ? frmDM->dueDevices(horizonEnd(), chosenCustomer()) : QList<TDueDevice>();
    m_attention.clear();
    // The marks read every listed device's latest inspections: the list is
    // shown first, its marks follow as soon as the window has been drawn.
    if (connected && !m_marksPending) {
        m_marksPending = true;
        QTimer::singleShot(0, this, &TfrmDueDates::readMarks);
    }
    fillCustomerFilter();
    showList();
}

void TfrmDueDates::fillCustomerFilter()
{
    const QVariant chosen = m_customer->currentData();
    const QSignalBlocker quiet(m_customer);
    m_customer->clear();
    m_customer->addItem(QStringLiteral("alle Kunden"), QVariant());
    for (const auto &[id, name] : frmDM->Database.connected() ? frmDM->customerNames() : QList<QPair<int, QString>>())
        m_customer->addItem(name, id);
    m_customer->setCurrentIndex(std::max(0, m_customer->findData(chosen)));
}

void TfrmDueDates::showList()
{
    const QDate today = TClock::today();
    const QVariant customer = m_customer->currentData();
    const QString place = m_place->text().trimmed();
    m_tree->setUpdatesEnabled(false);
    // Sorted once when filled, not at every item added.
    m_tree->setSortingEnabled(false);
    m_tree->clear();
    // Built apart from the tree and handed over at once: the tree's model
    // then announces one insertion instead of one per device.
    QList<QTreeWidgetItem *> groups;
    QTreeWidgetItem *group = nullptr;
    int total = 0;
    int inGroup = 0;
    const auto closeGroup = [&] {
        if (group)
            group->setText(ColCustomer, group->data(ColCustomer, kSortRole).toString() + QStringLiteral(" (%1)").arg(inGroup));
    };
    for (const TDueDevice &d : std::as_const(m_devices)) {
        if (customer.isValid() && customer.toInt() != d.kundeId)
            continue;
        if (!place.isEmpty() && !d.ort.contains(place, Qt::CaseInsensitive))
            continue;
        if (!group || group->data(ColCustomer, kCustomerRole).toInt() != d.kundeId) {
            closeGroup();
            group = new TSortedItem;
            groups << group;
            setCell(group, ColCustomer, d.kundeName, d.kundeName);
            group->setData(ColCustomer, kCustomerRole, d.kundeId);
            inGroup = 0;
        }
        auto *item = new TSortedItem(group);
        item->setData(ColCustomer, kCustomerRole, d.kundeId);
        item->setData(ColCustomer, kDeviceRole, d.prueflingId);
        setCell(item, ColCustomer, d.kundeName, d.kundeName);
        setCell(item, ColPlace, d.ort, d.ort);
        setCell(item, ColName, d.bezeichnung, d.bezeichnung);
        setCell(item, ColNumber, d.nummer, d.nummer.rightJustified(18, u'0'));
        const QString date = d.neverInspected() ? QStringLiteral("nie geprüft") : d.nextDate.toString(QStringLiteral("dd.MM.yyyy"));
        setCell(item, ColDate, d.overdueOn(today) ? date + QStringLiteral(" – überfällig") : date,
                d.neverInspected() ? QString() : d.nextDate.toString(Qt::ISODate));
        showMarks(item, m_attention.value(d.prueflingId));
        ++inGroup;
        ++total;
    }
    closeGroup();
    m_tree->addTopLevelItems(groups);
    for (QTreeWidgetItem *customerGroup : std::as_const(groups))
        customerGroup->setFirstColumnSpanned(true);
    m_tree->setSortingEnabled(true);
    m_tree->expandAll();
    m_tree->setUpdatesEnabled(true);
    m_total->setText(QStringLiteral("Gesamt: %1 fällige Prüflinge").arg(total));
}

void TfrmDueDates::readMarks()
{
    m_marksPending = false;
    if (!frmDM->Database.connected())
        return;
    m_attention = dueAttention(&frmDM->Database, horizonEnd(), chosenCustomer());
    // Filled anew: marking the cells of a filled tree one by one costs far more.
    showList();
}

void TfrmDueDates::showMarks(QTreeWidgetItem *item, const TAttention &attention)
{
    const TRowMark mark = attentionRowMark(attention);
    if (mark.isEmpty())
        return;
    setCell(item, ColMarks, mark.symbol + u' ' + attention.shortText(), mark.symbol);
    for (int column = 0; column < ColumnCount; ++column) {
        item->setBackground(column, mark.colour);
        item->setToolTip(column, mark.toolTip);
    }
}

void TfrmDueDates::chooseItem(QTreeWidgetItem *item)
{
    if (!item || !item->data(ColCustomer, kDeviceRole).isValid())
        return;
    emit deviceChosen(item->data(ColCustomer, kCustomerRole).toInt(), item->data(ColCustomer, kDeviceRole).toInt());
}

void TfrmDueDates::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the window, as it does a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TfrmDueDates::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseItem(m_tree->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
