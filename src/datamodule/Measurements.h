#pragma once
// The electrical measurements of an inspection, in the order they appear
// everywhere: record sets, judging, the inspection window, the grid and the
// reports all read this one table. Free of widgets.
//
// A further measurement is one entry at the end of the table plus a schema
// upgrade step that adds its value and flag columns to PRUEFUNGEN, its row
// to GRENZWERTE (ID = its place) and its columns to the view pruefprotokoll.
// Beyond the data, the inspection window's form needs a row with widgets
// named after the column, and the report layout a line if it is printed.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// Whether a measured value passes when it is at most or at least its limit.
enum class LimitKind { Maximum, Minimum };

struct Measurement {
    int limitRow;         // ID of its row in GRENZWERTE, also its place in the order
    const char *column;   // the decimal value in PRUEFUNGEN; its pass flag adds "_BESTANDEN"
    LimitKind kind;
    const char *label;    // German, as the grid heads its column
    const char *unit;     // the unit of the stored value and of its limit
    // The device column that carries the device's own limit instead of the
    // stored row, when there is one.
    const char *deviceLimitColumn;
    // The fixed limit for devices of protection class "I", when it differs
    // from the stored row; the row's WERT_I then holds it for display.
    std::optional<double> classOneLimit;
    int gridWidth;        // of its column in the main window's inspection grid

    QString valueColumn() const { return QString::fromLatin1(column); }
    QString flagColumn() const { return valueColumn() + QStringLiteral("_BESTANDEN"); }
    QString germanLabel() const { return QString::fromUtf8(label); }
    QString germanUnit() const { return QString::fromUtf8(unit); }
    // Whether the protection class changes this measurement's limit.
    bool classOneApplies(const QString &schutzklasse) const { return classOneLimit && schutzklasse == u"I"; }
    // Whether a device of the protection class is measured at all: devices
    // of classes II and III have no protective conductor.
    bool appliesTo(const QString &schutzklasse) const
    {
        return limitRow != 0 || (schutzklasse != u"II" && schutzklasse != u"III");
    }
    // The limit a device of the given protection class is judged against,
    // given the limit of the loaded row (for a device-own limit, the device's).
    double limitFor(double rowLimit, const QString &schutzklasse) const;
    // A value equal to its limit passes.
    bool passes(double value, double limit) const;
};

inline constexpr auto kMeasurements = std::to_array<Measurement>({
    {0, "SCHUTZLEITWIDERSTAND", LimitKind::Maximum, "Schutzleiterwiderstand", "Ohm", "GRENZWERT0", std::nullopt, 114},
    {1, "ISOLATIONSPRUEFUNG", LimitKind::Minimum, "Isolationsprüfung", "MOhm", nullptr, std::nullopt, 91},
    {2, "ERSATZABLEITSTROM", LimitKind::Maximum, "Ersatzableitstrom", "mA", nullptr, 3.5, 89},
    {3, "DIFFERENZSTROM", LimitKind::Maximum, "Differenzstrom", "mA", nullptr, std::nullopt, 78},
    {4, "BERUEHRUNGSSTROM", LimitKind::Maximum, "Berührungsstrom", "mA", nullptr, std::nullopt, 87},
});

inline constexpr int kMeasurementCount = static_cast<int>(kMeasurements.size());

// The value and pass-flag columns of every measurement, in order, each value
// followed by its flag.
QStringList measurementColumns();
// The pass-flag columns alone, each with the given prefix ("r." for a join).
QStringList measurementFlagColumns(const QString &prefix = QString());
