#pragma once
#include <QString>
#include <QStringList>

class TDatabase;

// The events that triggers post when another workstation commits a change
// of customers, devices or inspections, so that open lists can be re-read.
inline const QString kEventKunden = QStringLiteral("VELMORA_KUNDEN");
inline const QString kEventPrueflinge = QStringLiteral("VELMORA_PRUEFLINGE");
inline const QString kEventPruefungen = QStringLiteral("VELMORA_PRUEFUNGEN");
QStringList changeEventNames();

// Upgrade step: one trigger per table that posts its event after every
// insert, update and delete. A user who may not change the schema (a
// workstation's own login on a server) leaves the step for the owner; the
// program then works without the notices.
void addChangeEventTriggers(TDatabase &database);
