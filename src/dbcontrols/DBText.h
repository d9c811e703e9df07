#pragma once
#include "FieldControl.h"
#include <QLabel>

// A label showing the display text of one field of the current row, as
// plain text.
class TDBText : public QLabel, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBText(QWidget *parent = nullptr);

private:
    void showValue();
};
