#pragma once
#include <QString>
#include <functional>

class QWidget;

// The dry-run window on the example export with the example profile,
// stored into the open database first.
bool saveImportScreenshots(QWidget *parent, const std::function<bool(QWidget *, const QString &)> &save);
