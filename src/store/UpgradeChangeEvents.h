#pragma once
#include <QString>
#include <QStringList>

// The events that triggers post when another workstation commits a change
// of customers, devices or inspections, so that open lists can be re-read.
inline const QString kEventKunden = QStringLiteral("VELMORA_KUNDEN");
inline const QString kEventPrueflinge = QStringLiteral("VELMORA_PRUEFLINGE");
inline const QString kEventPruefungen = QStringLiteral("VELMORA_PRUEFUNGEN");
QStringList changeEventNames();
