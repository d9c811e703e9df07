#pragma once
#include "LabelSheet.h"
#include <QList>
#include <QString>
#include <optional>

// What labels are printed on: a sheet of A4 labels or a roll of single
// labels, by a short key (for scripts and the settings) and a title.
struct TLabelStock {
    QString key;   // "a4-3x8", "rolle-62x29"; empty for the user's own sheet
    QString title; // "A4-Bogen 3 × 8 (70 × 37 mm)"
    bool roll = false;
    TLabelSheet sheet; // a roll: paper of one label, one row, one column
};

// The common sizes, sheets first.
const QList<TLabelStock> &labelStockPresets();
// A preset by its key, or a roll of any size as "rolle-BxH" in millimetres
// ("rolle-100x50", "rolle-62.5x30"); none for an unknown key.
std::optional<TLabelStock> labelStockByKey(const QString &key);
// A roll of labels of a size.
TLabelStock rollStock(QSizeF label);
// A sheet of the user's own measures.
TLabelStock ownSheetStock(const TLabelSheet &sheet);

// The text the settings keep: a preset's key, or the user's own measures
// ("bogen;Zeilen;Spalten;B;H;oben;links;AbstandX;AbstandY", "rolle-BxH").
QString labelStockSetting(const TLabelStock &stock);
// Back from that text; none when it names nothing usable.
std::optional<TLabelStock> labelStockFromSetting(const QString &text);
