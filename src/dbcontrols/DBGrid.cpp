#include "DBGrid.h"
#include "ColumnSizing.h"
#include "DataSet.h"
#include "DbError.h"
#include "Dialogs.h"
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {
constexpr int defaultColumnChars = 12;
constexpr int widestDefaultChars = 40;
}

TDBGrid::TDBGrid(QWidget *parent) : QTableView(parent), m_model(new TDataSetModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_model->setTitleFont(font());
    applyRowHeight();

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &) { rowChosen(current); });
    connect(m_model, &TDataSetModel::currentRowChanged, this, &TDBGrid::selectRow);
    // While the rows are read again the view drops its current row and may
    // pick another (for example when a closed cell editor hands the focus
    // back); that is not the user's choice and must not move the record set.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_following = true; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_following = false;
        applyColumnWidths();
    });
    connect(m_model, &TDataSetModel::pendingEditRequested, this, &TDBGrid::writeOpenEditor);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { emit titleClicked(column, m_model->fieldNameAt(column)); });
}

void TDBGrid::setEditable(bool editable)
{
    m_model->setEditable(editable);
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed
                             : QAbstractItemView::NoEditTriggers);
}

bool TDBGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // The row goes into editing before a cell editor opens, as in an edit
    // box with the first key, so that the record set's update step (before
    // post or a move) writes the editor's text into that row.
    bool opens = index.isValid() && state() != QAbstractItemView::EditingState &&
                 (m_model->flags(index) & Qt::ItemIsEditable) &&
                 (trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger));
    if (opens && trigger == QAbstractItemView::AnyKeyPressed) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        opens = key && !key->text().isEmpty() && key->text().at(0).isPrint();
    }
    if (opens && !m_model->startRowEdit(index.row()))
        return false;
    return QTableView::edit(index, trigger, event);
}

void TDBGrid::selectRow(int row)
{
    QScopedValueRollback<bool> guard(m_following, true);
    if (row < 0 || row >= m_model->rowCount() || m_model->columnCount() == 0) {
        selectionModel()->clear();
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex index = m_model->index(row, column);
    // A grid that lets the user select several rows leaves the selection of
    // the current row to the user's click (Ctrl+click adds it to the others).
    const bool userSelects = selectionMode() != QAbstractItemView::SingleSelection;
    if (currentIndex() != index || (!userSelects && !selectionModel()->isRowSelected(row, QModelIndex())))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void TDBGrid::rowChosen(const QModelIndex &current)
{
    TDataSet *set = m_model->dataSet();
    if (m_following || !current.isValid() || !set || current.row() == m_model->currentRow())
        return;
    try {
        set->moveTo(current.row());
    } catch (const EAbort &) {
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
    }
    // A refused move (the row could not be posted) leaves the record set
    // where it was; select its row again once the click is handled.
    if (m_model->currentRow() != current.row())
        QMetaObject::invokeMethod(this, [this] { selectRow(m_model->currentRow()); }, Qt::QueuedConnection);
}

void TDBGrid::setFitColumnsToWidth(bool fit)
{
    m_fitToWidth = fit;
    applyColumnWidths();
}

int TDBGrid::textWidth(const QStringList &texts) const
{
    // The item delegate keeps a focus-frame margin plus one pixel on either
    // side of the text; the grid line and a pixel to spare come on top.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    int widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    return widest + 2 * margin + 2;
}

void TDBGrid::applyColumnWidths()
{
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int padding = 2 * digit;
    m_naturalWidths.clear();
    m_leastWidths.clear();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const TGridColumn &shown = m_model->shownColumns().at(column);
        const TField *f = m_model->declaredFieldAt(column);
        int chars = defaultColumnChars;
        if (f && f->displayWidth > 0)
            chars = f->displayWidth;
        else if (f && f->dataType() == TFieldType::String && f->size() > 0)
            chars = std::min(f->size(), widestDefaultChars);
        const int fromChars = shown.width > 0 ? shown.width : chars * digit + padding;
        const int title = horizontalHeader()->sectionSizeHint(column);
        if (m_fitToWidth) {
            // Values read may be cut to share the width; titles and the
            // yes/no and date texts may not.
            const int least = std::max(title, f ? textWidth(columnsizing::usualTexts(*f, nullptr)) : 0);
            m_leastWidths << least;
            m_naturalWidths << std::max(fromChars, least);
        } else {
            const int values = f ? textWidth(columnsizing::usualTexts(*f, m_model->dataSet())) : 0;
            m_leastWidths << std::max({fromChars, title, values});
            m_naturalWidths << m_leastWidths.last();
        }
    }
    // The first column carries the rows' marks before its value: room for
    // three symbols and the gap to the text.
    if (m_model->marksRows() && !m_naturalWidths.isEmpty()) {
        const int marks = fontMetrics().horizontalAdvance(QStringLiteral("!×G")) + 2 +
                          style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 4;
        m_leastWidths.first() += marks;
        m_naturalWidths.first() += marks;
    }
    if (m_fitToWidth) {
        fitColumns();
        return;
    }
    for (int column = 0; column < m_naturalWidths.size(); ++column)
        setColumnWidth(column, m_naturalWidths.at(column));
}

void TDBGrid::fitColumns()
{
    const QList<int> widths = columnsizing::fitWidths(m_naturalWidths, m_leastWidths, viewport()->width());
    for (int column = 0; column < widths.size() && column < m_model->columnCount(); ++column)
        setColumnWidth(column, widths.at(column));
}

void TDBGrid::applyRowHeight()
{
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this) + 1;
    const int height = fontMetrics().height() + 2 * margin + 1;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

void TDBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_model->setTitleFont(font());
        applyRowHeight();
        applyColumnWidths();
    }
}

void TDBGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (m_fitToWidth)
        fitColumns();
}

void TDBGrid::writeOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget *editor = QApplication::focusWidget();
    while (editor && editor->parentWidget() != viewport())
        editor = editor->parentWidget();
    if (editor)
        commitData(editor);
}
