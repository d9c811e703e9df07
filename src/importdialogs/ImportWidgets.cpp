#include "ImportWidgets.h"
#include "DbError.h"
#include "Dialogs.h"
#include "Query.h"
#include <QComboBox>
#include "ExportFile.h"
#include <QFile>
#include <QHeaderView>
#include <QTableWidget>

void fillKeyedCombo(QComboBox *combo, TDatabase &database, const QString &table, int selectId)
{
    combo->clear();
    TQuery q(&database);
    q.setSql(QStringLiteral("SELECT ID, NAME FROM %1 ORDER BY NAME").arg(table));
    for (q.execQuery(); !q.eof(); q.next())
        combo->addItem(q.asString(1), static_cast<int>(q.asInteger(0)));
    q.close();
    combo->setCurrentIndex(std::max(0, combo->findData(selectId)));
}

QTableWidget *newListTable(QWidget *parent, const QStringList &headers, const QString &objectName)
{
    auto *table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(objectName);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    // Titles wider than a column's default are not cut at both ends.
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->resizeColumnsToContents();
    return table;
}

bool showingErrors(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
        return false;
    }
}

std::optional<QByteArray> readFileShowingErrors(const QString &path, qint64 maxBytes)
{
    TExportFile file = readExportFile(path, maxBytes);
    if (!file.ok()) {
        dialogs().message(file.failure, IDialogs::Icon::Error);
        return std::nullopt;
    }
    return std::move(file.bytes);
}
