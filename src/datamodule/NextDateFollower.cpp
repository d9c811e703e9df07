#include "NextDateFollower.h"
#include "DataSet.h"
#include "Field.h"
#include "UDM.h"
#include <QScopedValueRollback>

NextDateFollower::NextDateFollower(TDataSet &inspections, TDataSet &devices, QObject *parent)
    : QObject(parent), m_inspections(inspections), m_devices(devices)
{
    const auto restart = [this](TDataSet &) { m_setByHand = false; };
    m_inspections.afterInsert = restart; // the new record's own next date is not set by hand
    m_inspections.beforeEdit = restart;
    m_inspections.fieldByName(QStringLiteral("PRUEFDATUM"))->onChange = [this](TField &) { follow(); };
    m_inspections.fieldByName(QStringLiteral("NEXT_PRUEFDATUM"))->onChange = [this](TField &) {
        if (!m_following)
            m_setByHand = true;
    };
}

void NextDateFollower::follow()
{
    const TField *date = m_inspections.fieldByName(QStringLiteral("PRUEFDATUM"));
    if (m_setByHand || date->isNull() || !m_devices.active())
        return;
    const int months = static_cast<int>(m_devices.fieldByName(QStringLiteral("PRUEFINTERVAL"))->asInteger());
    const QScopedValueRollback following(m_following, true);
    m_inspections.fieldByName(QStringLiteral("NEXT_PRUEFDATUM"))
        ->setAsDateTime(nextInspectionDate(date->asDateTime().date(), months));
}
