#include "Measurements.h"

double Measurement::limitFor(double rowLimit, const QString &schutzklasse) const
{
    return classOneApplies(schutzklasse) ? *classOneLimit : rowLimit;
}

bool Measurement::passes(double value, double limit) const
{
    return kind == LimitKind::Minimum ? value >= limit : value <= limit;
}

QStringList measurementColumns()
{
    QStringList columns;
    for (const Measurement &m : kMeasurements)
        columns << m.valueColumn() << m.flagColumn();
    return columns;
}

QStringList measurementFlagColumns(const QString &prefix)
{
    QStringList columns;
    for (const Measurement &m : kMeasurements)
        columns << prefix + m.flagColumn();
    return columns;
}
