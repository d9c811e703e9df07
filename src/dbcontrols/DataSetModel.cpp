#include "DataSetModel.h"
#include "DataSet.h"
#include "DbError.h"
#include "Dialogs.h"
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace {

// A row's symbol as a small picture, in a dark shade of its colour.
QPixmap symbolPicture(const QString &symbol, const QColor &colour)
{
    const QFontMetrics metrics{QFont()};
    QPixmap picture(metrics.horizontalAdvance(symbol) + 2, metrics.height());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(colour.isValid() ? colour.darker(300) : QColor(Qt::black));
    painter.drawText(picture.rect(), Qt::AlignCenter, symbol);
    return picture;
}

} // namespace

class TDataSetModel::Link : public TDataLink {
public:
    explicit Link(TDataSetModel *model) : m_model(model) {}
    void activeChanged() override { m_model->rebuild(); }
    void dataSetChanged() override { m_model->rebuild(); }
    void dataSetScrolled() override { m_model->rowsMayHaveChanged(); }
    void recordChanged(TField *) override { m_model->currentRowValuesChanged(); }
    void editingChanged() override { m_model->rowsMayHaveChanged(); }
    void updateData() override { m_model->updateData(); }

private:
    TDataSetModel *m_model;
};

TDataSetModel::TDataSetModel(QObject *parent) : QAbstractTableModel(parent), m_link(std::make_unique<Link>(this)) {}

TDataSetModel::~TDataSetModel() = default;

TDataSource *TDataSetModel::dataSource() const { return m_link->dataSource(); }
void TDataSetModel::setDataSource(TDataSource *source) { m_link->setDataSource(source); }

TDataSet *TDataSetModel::dataSet() const
{
    TDataSet *set = m_link->dataSet();
    return set && set->active() ? set : nullptr;
}

void TDataSetModel::setColumns(const QList<TGridColumn> &columns)
{
    m_columns = columns;
    rebuild();
}

void TDataSetModel::setEditable(bool editable)
{
    if (m_editable == editable)
        return;
    m_editable = editable;
    allCellsChanged();
}

void TDataSetModel::allCellsChanged()
{
    if (m_rowCount > 0 && !m_shown.isEmpty())
        emit dataChanged(index(0, 0), index(m_rowCount - 1, static_cast<int>(m_shown.size()) - 1));
}

void TDataSetModel::setRowMarker(RowMarker marker)
{
    m_rowMarker = std::move(marker);
    allCellsChanged();
}

void TDataSetModel::refreshMarks() { allCellsChanged(); }

TRowMark TDataSetModel::markOf(int row) const { return m_rowMarker ? m_rowMarker(row) : TRowMark(); }

QVariant TDataSetModel::markData(const QModelIndex &index, int role) const
{
    if (!m_rowMarker)
        return {};
    const TRowMark mark = markOf(index.row());
    switch (role) {
    case Qt::BackgroundRole:
        return mark.colour.isValid() ? QVariant(mark.colour) : QVariant();
    case Qt::ToolTipRole:
        return mark.toolTip.isEmpty() ? QVariant() : QVariant(mark.toolTip);
    case MarkSymbolRole:
        return mark.symbol;
    case Qt::DecorationRole:
        return index.column() == 0 && !mark.symbol.isEmpty() ? QVariant(symbolPicture(mark.symbol, mark.colour))
                                                             : QVariant();
    default:
        return {};
    }
}

void TDataSetModel::setTitleUnderlined(int column, bool underlined)
{
    if (column < 0 || isTitleUnderlined(column) == underlined)
        return;
    if (underlined)
        m_underlined.insert(column);
    else
        m_underlined.remove(column);
    if (column < m_shown.size())
        emit headerDataChanged(Qt::Horizontal, column, column);
}

void TDataSetModel::setTitleFont(const QFont &font)
{
    m_titleFont = font;
    if (!m_underlined.isEmpty() && !m_shown.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_shown.size()) - 1);
}

TField *TDataSetModel::declaredFieldAt(int column) const
{
    TDataSet *set = m_link->dataSet();
    if (!set || column < 0 || column >= m_shown.size())
        return nullptr;
    return set->findField(m_shown.at(column).fieldName);
}

TField *TDataSetModel::fieldAt(int column) const
{
    TDataSet *set = dataSet();
    if (!set || column < 0 || column >= m_shown.size())
        return nullptr;
    return set->findField(m_shown.at(column).fieldName);
}

QString TDataSetModel::fieldNameAt(int column) const
{
    return column >= 0 && column < m_shown.size() ? m_shown.at(column).fieldName : QString();
}

int TDataSetModel::currentRow() const
{
    TDataSet *set = dataSet();
    return set && !set->isEmpty() ? set->recNo() - 1 : -1;
}

void TDataSetModel::rebuild()
{
    beginResetModel();
    m_shown.clear();
    TDataSet *set = dataSet();
    if (m_columns.isEmpty()) {
        for (int i = 0; set && i < set->fieldCount(); ++i)
            if (set->field(i)->visible)
                m_shown.append({set->field(i)->fieldName(), {}, 0, false});
    } else {
        for (const TGridColumn &column : std::as_const(m_columns))
            if (!column.hidden)
                m_shown.append(column);
    }
    m_rowCount = set ? set->recordCount() : 0;
    endResetModel();
    emit currentRowChanged(currentRow());
}

void TDataSetModel::rowsMayHaveChanged()
{
    TDataSet *set = dataSet();
    if ((set ? set->recordCount() : 0) != m_rowCount) {
        rebuild(); // a row was appended, inserted or dropped
        return;
    }
    currentRowValuesChanged();
    emit currentRowChanged(currentRow());
}

void TDataSetModel::currentRowValuesChanged()
{
    const int row = currentRow();
    if (row >= 0 && row < m_rowCount && !m_shown.isEmpty())
        emit dataChanged(index(row, 0), index(row, static_cast<int>(m_shown.size()) - 1));
}

void TDataSetModel::updateData()
{
    m_editRefused = false;
    emit pendingEditRequested();
    if (m_editRefused) {
        m_editRefused = false;
        abortSilently();
    }
}

int TDataSetModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rowCount; }

int TDataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

QVariant TDataSetModel::data(const QModelIndex &index, int role) const
{
    TDataSet *set = dataSet();
    TField *f = fieldAt(index.column());
    if (!set || !f || index.row() < 0 || index.row() >= set->recordCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return f->displayTextOf(set->valueAt(index.row(), f));
    case Qt::EditRole:
        return f->editTextOf(set->valueAt(index.row(), f));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment((f->alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter));
    default:
        return markData(index, role);
    }
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_shown.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::FontRole && isTitleUnderlined(section)) {
        QFont font = m_titleFont;
        font.setUnderline(true);
        return font;
    }
    if (role != Qt::DisplayRole)
        return {};
    const TGridColumn &column = m_shown.at(section);
    if (!column.title.isEmpty())
        return column.title;
    const TField *f = declaredFieldAt(section);
    return f ? f->label() : column.fieldName;
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    const TField *f = fieldAt(index.column());
    TDataSet *set = dataSet();
    if (m_editable && f && set && !f->readOnly && f->kind() == TFieldKind::Data && set->canModify())
        result |= Qt::ItemIsEditable;
    return result;
}

bool TDataSetModel::startRowEdit(int row)
{
    TDataSet *set = dataSet();
    if (!set || row < 0 || row >= m_rowCount)
        return false;
    try {
        if (set->recNo() - 1 != row)
            set->moveTo(row);
        return set->recNo() - 1 == row && m_link->edit();
    } catch (const EAbort &) {
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
    }
    return false;
}

bool TDataSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TDataSet *set = dataSet();
    TField *f = fieldAt(index.column());
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !set || !f)
        return false;
    if (!startRowEdit(index.row())) {
        m_editRefused = true;
        return false;
    }
    try {
        f->setEditText(value.toString());
        return true;
    } catch (const EAbort &) {
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
    }
    m_editRefused = true;
    return false;
}

