#pragma once
#include <QObject>

class TDataSet;

// Keeps an inspection's next date at its inspection date plus the device's
// interval, however the inspection date changes, until the user sets the
// next date by hand; each new or edited inspection starts following again.
class NextDateFollower : public QObject {
public:
    NextDateFollower(TDataSet &inspections, TDataSet &devices, QObject *parent);

private:
    void follow();

    TDataSet &m_inspections;
    TDataSet &m_devices;
    bool m_setByHand = false;
    bool m_following = false; // the next date is being set by this rule
};
