#pragma once
#include "DataSetModel.h"
#include <QTableView>

class TDataSource;

// A table view over a record set. Whole rows are selected; the selected row
// and the record set's current row follow each other: selecting a row moves
// the record set there, a move of the record set selects its row, and after
// the rows are read again the current row is selected again. Clicks on a
// column title are reported with the column's field name. Cells are edited
// in place only when the grid is made editable. A column is as wide as its
// given width, its title and its usual values; rows are as tall as the font.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget *parent = nullptr);

    TDataSetModel *dataModel() const { return m_model; }
    TDataSource *dataSource() const { return m_model->dataSource(); }
    void setDataSource(TDataSource *source) { m_model->setDataSource(source); }

    QList<TGridColumn> columns() const { return m_model->columns(); }
    void setColumns(const QList<TGridColumn> &columns) { m_model->setColumns(columns); }

    bool isEditable() const { return m_model->isEditable(); }
    void setEditable(bool editable);

    // The columns share the list's width by their display widths, none
    // narrower than its title and its yes/no or date texts: every column
    // shows without scrolling sideways.
    void setFitColumnsToWidth(bool fit);

signals:
    void titleClicked(int column, const QString &fieldName);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void selectRow(int row);
    void rowChosen(const QModelIndex &current);
    void applyColumnWidths();
    void applyRowHeight();
    void fitColumns();
    int textWidth(const QStringList &texts) const; // a cell showing the widest of them
    void writeOpenEditor();

    TDataSetModel *m_model;
    bool m_following = false; // selecting the record set's row, not the user's
    bool m_fitToWidth = false;
    QList<int> m_naturalWidths, m_leastWidths;
};
