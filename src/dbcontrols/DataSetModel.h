#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QList>
#include <QSet>
#include <functional>
#include <memory>

class TDataSet;
class TDataSource;
class TField;

// A column of a grid: the field it shows and how.
struct TGridColumn {
    QString fieldName;
    QString title;      // the field's label when empty
    int width = 0;      // least pixels; 0 takes the field's display width
    bool hidden = false;
};

// What a row is marked with beyond its cells: a background colour, a short
// text or symbol drawn at the start of the first column (so that the mark
// never rests on colour alone), and a tooltip saying why. Empty: unmarked.
struct TRowMark {
    QColor colour;
    QString symbol;
    QString toolTip;
    bool isEmpty() const { return symbol.isEmpty() && toolTip.isEmpty() && !colour.isValid(); }
};

// A table model over the rows of a record set (through a data source): one
// row per record, one column per shown column. Cells are the fields'
// display texts, read without moving the record set. The model follows the
// record set: new rows reset it, a move reports the current row.
class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDataSetModel(QObject *parent = nullptr);
    ~TDataSetModel() override;

    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);
    TDataSet *dataSet() const;

    // Without columns every visible field is shown, in the record set's order.
    QList<TGridColumn> columns() const { return m_columns; }
    void setColumns(const QList<TGridColumn> &columns);
    // The columns shown, in model order (hidden ones left out).
    const QList<TGridColumn> &shownColumns() const { return m_shown; }

    // Cells may be edited: the row is moved to, its edit started and the
    // text written into the field.
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    // Moves the record set to a row and starts editing it; refusals are
    // shown through the dialog seam.
    bool startRowEdit(int row);

    // A column title drawn underlined (the sort column, say); kept while the
    // record set is reopened.
    void setTitleUnderlined(int column, bool underlined);
    bool isTitleUnderlined(int column) const { return m_underlined.contains(column); }
    // The font an underlined title is drawn in: the view's own.
    void setTitleFont(const QFont &font);

    // Asked for the mark of a row (its record's place) whenever the row is
    // drawn; the owner decides what rows mean. Marks are asked again after
    // refreshMarks().
    using RowMarker = std::function<TRowMark(int row)>;
    void setRowMarker(RowMarker marker);
    bool marksRows() const { return static_cast<bool>(m_rowMarker); }
    void refreshMarks();
    // The custom role that carries a row's symbol, for tests and delegates.
    static constexpr int MarkSymbolRole = Qt::UserRole + 1;

    TField *fieldAt(int column) const;
    // The column's field also while the record set is closed (its title and
    // formats are known before any row is read).
    TField *declaredFieldAt(int column) const;
    QString fieldNameAt(int column) const;
    // The record set's current row, -1 when there is none.
    int currentRow() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The record set moved, or its rows were read again: row is its
    // current row (-1 when none).
    void currentRowChanged(int row);
    // The record set's update step: a view writes its open cell editor.
    void pendingEditRequested();

private:
    class Link;
    void rebuild();
    void rowsMayHaveChanged();
    void currentRowValuesChanged();
    void updateData();

    void allCellsChanged();
    TRowMark markOf(int row) const;
    QVariant markData(const QModelIndex &index, int role) const;

    std::unique_ptr<Link> m_link;
    RowMarker m_rowMarker;
    QList<TGridColumn> m_columns;
    QList<TGridColumn> m_shown;
    QSet<int> m_underlined;
    QFont m_titleFont;
    int m_rowCount = 0;
    bool m_editable = false;
    bool m_editRefused = false;
};
