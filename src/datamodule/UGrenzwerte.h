#pragma once
#include "Measurements.h"
#include <QString>
#include <array>
#include <memory>

class TDatabase;
class TQuery;

// One limit value with its display texts.
struct TRecGrenzwert {
    qint32 id = 0;
    QString Bezeichnung;
    QString Bez1;
    double Wert = 0.0;
    QString Bez2;
    double Wert_I = 0.0;
    QString Anzeige;
    QString Anzeige_I;
};

// The limit values in memory, one per measurement, loaded at each connection. Entry 0 holds
// the current device's own protective-conductor limit, not the stored row.
class TGrenzwerte {
public:
    static constexpr int Count = kMeasurementCount;

    explicit TGrenzwerte(TDatabase *database);
    ~TGrenzwerte();
    TGrenzwerte(const TGrenzwerte &) = delete;
    TGrenzwerte &operator=(const TGrenzwerte &) = delete;

    // Loads the rows in key order; rows beyond the measurements are ignored.
    void setDefaults();

    TRecGrenzwert GetGrenzwert(int index) const;
    void SetGrenzwert(int index, const TRecGrenzwert &value);
    double GetValue(int index) const;
    void SetValue(int index, double value); // Anzeige keeps the loaded text

    // "Max.", the number as "%8.2f" with the locale's decimal separator, the unit.
    static QString displayText(const QString &bez1, double value, const QString &bez2);

private:
    std::unique_ptr<TQuery> FQuery;
    std::array<TRecGrenzwert, Count> FGrenzwerte;
};
