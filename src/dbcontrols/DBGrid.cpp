#include "DBGrid.h"
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
    if (currentIndex() != index || !selectionModel()->isRowSelected(row, QModelIndex()))
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

void TDBGrid::applyColumnWidths()
{
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int padding = 2 * digit;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const TGridColumn &shown = m_model->shownColumns().at(column);
        int width = shown.width;
        if (width <= 0) {
            const TField *f = m_model->fieldAt(column);
            int chars = defaultColumnChars;
            if (f && f->displayWidth > 0)
                chars = f->displayWidth;
            else if (f && f->dataType() == TFieldType::String && f->size() > 0)
                chars = std::min(f->size(), widestDefaultChars);
            width = chars * digit + padding;
            const QString title = m_model->headerData(column, Qt::Horizontal).toString();
            width = std::max(width, horizontalHeader()->fontMetrics().horizontalAdvance(title) + padding);
        }
        setColumnWidth(column, width);
    }
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
