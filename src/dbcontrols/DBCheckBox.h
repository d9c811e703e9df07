#pragma once
#include "FieldControl.h"
#include <QCheckBox>

// A three-state check box bound to a boolean field: true ticked, false
// unticked, null partially checked. A click starts editing the current row
// and writes the value at once: unticked or partial becomes ticked, ticked
// becomes unticked.
class TDBCheckBox : public QCheckBox, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget *parent = nullptr);
    explicit TDBCheckBox(const QString &text, QWidget *parent = nullptr);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

protected:
    void nextCheckState() override;

private:
    void showValue();

    bool m_readOnly = false;
};
