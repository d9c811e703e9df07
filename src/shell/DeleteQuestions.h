#pragma once
#include <QString>

class TDataSet;

// "Datensatz löschen?" with the record it means, so the user sees what
// goes: the device by name and number, the inspection by its date and
// device.
QString deviceDeleteQuestion(const TDataSet &devices);
QString inspectionDeleteQuestion(const TDataSet &inspections, const TDataSet &devices);
