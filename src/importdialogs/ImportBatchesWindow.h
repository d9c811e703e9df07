#pragma once
#include "ImportBatch.h"
#include <QWidget>

class QPushButton;
class QTableWidget;
class TDatabase;

// Every import batch, newest first; a batch whose inspections are all as
// they were imported can be taken back as a whole.
class TfrmImportBatches : public QWidget {
    Q_OBJECT
public:
    explicit TfrmImportBatches(TDatabase &database, QWidget *parent = nullptr);
    void reload();

signals:
    void dataChanged();

private:
    void undoSelected();

    TDatabase &m_database;
    QList<TImportBatch> m_batches;
    QTableWidget *m_table;
    QPushButton *m_undo;
};
