#pragma once
#include "DeviceFromRow.h"
#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

// Asks what a row cannot tell about a device to be created: its name, its
// protection class (which changes a limit) and its interval.
class TdlgNewDevice : public QDialog {
    Q_OBJECT
public:
    TdlgNewDevice(const QString &customer, const QString &number, int interval, QWidget *parent = nullptr);
    TNewDeviceChoice choice() const;

private:
    QLineEdit *m_name;
    QComboBox *m_class;
    QSpinBox *m_interval;
};
