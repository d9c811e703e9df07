#pragma once
// Small pieces the import windows share.
#include <QByteArray>
#include <QString>
#include <optional>
#include <functional>

class QComboBox;
class QTableWidget;
class QWidget;
class TDatabase;

// Fills a combo box with the NAME of every row of a master table (PRUEFER,
// PRUEFGERAETE), the key as item data, and selects the row of selectId.
void fillKeyedCombo(QComboBox *combo, TDatabase &database, const QString &table, int selectId);
// A table widget that lists rows read-only, whole rows selected.
QTableWidget *newListTable(QWidget *parent, const QStringList &headers, const QString &objectName);
// Runs work; an EDatabaseError is shown as an error message instead.
// True when work ran through.
bool showingErrors(const std::function<void()> &work);
// The bytes of a file (at most maxBytes); none after an error message
// that names the file and the reason.
std::optional<QByteArray> readFileShowingErrors(const QString &path, qint64 maxBytes = -1);
