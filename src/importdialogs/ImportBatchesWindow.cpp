#include "ImportBatchesWindow.h"
#include "Dialogs.h"
#include "ImportWidgets.h"
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmImportBatches::TfrmImportBatches(TDatabase &database, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database),
      m_table(newListTable(this, {QStringLiteral("Stapel"), QStringLiteral("Importiert am"), QStringLiteral("Datei"),
                                  QStringLiteral("Profil"), QStringLiteral("Prüfungen"), QStringLiteral("Prüfer"),
                                  QStringLiteral("SHA-256"), QStringLiteral("Zurückgenommen am")},
                           QStringLiteral("gridStapel"))),
      m_undo(new QPushButton(QStringLiteral("Stapel &zurücknehmen..."), this))
{
    setObjectName(QStringLiteral("frmImportBatches"));
    setWindowTitle(QStringLiteral("Importstapel"));
    m_undo->setObjectName(QStringLiteral("btnZuruecknehmen"));
    connect(m_undo, &QPushButton::clicked, this, &TfrmImportBatches::undoSelected);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const int r = m_table->currentRow();
        m_undo->setEnabled(r >= 0 && r < m_batches.size() && !m_batches.at(r).undoneAt.isValid());
    });
    auto *close = new QPushButton(QStringLiteral("S&chließen"), this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_undo);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(900, 360);
    reload();
}

void TfrmImportBatches::reload()
{
    m_batches = importBatches(m_database);
    m_table->setRowCount(0);
    m_table->setRowCount(static_cast<int>(m_batches.size()));
    const QString format = QStringLiteral("dd.MM.yyyy HH:mm");
    for (int r = 0; r < m_batches.size(); ++r) {
        const TImportBatch &b = m_batches.at(r);
        const QStringList cells{QString::number(b.id), b.importedAt.toString(format), b.fileName, b.profile, QString::number(b.rows),
                                b.inspector, b.sha256.left(16) + QStringLiteral("…"),
                                b.undoneAt.isValid() ? b.undoneAt.toString(format) : QString()};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c == 6)
                item->setToolTip(b.sha256);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_undo->setEnabled(false);
}

void TfrmImportBatches::undoSelected()
{
    const int r = m_table->currentRow();
    if (r < 0 || r >= m_batches.size())
        return;
    const TImportBatch batch = m_batches.at(r);
    if (const QString refusal = undoRefusal(m_database, batch.id); !refusal.isEmpty()) {
        dialogs().message(refusal, IDialogs::Icon::Warning);
        return;
    }
    if (dialogs().ask(QStringLiteral("Importstapel %1 aus „%2“ zurücknehmen?\nSeine %3 Prüfungen werden gelöscht.")
                          .arg(batch.id)
                          .arg(batch.fileName)
                          .arg(batch.rows),
                      IDialogs::Buttons::YesNo) != IDialogs::Answer::Yes)
        return;
    if (showingErrors([&] { undoBatch(m_database, batch.id); }))
        emit dataChanged();
    reload();
}
