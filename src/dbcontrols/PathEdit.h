#pragma once
#include <QLineEdit>

// A field holding a file or folder path. A path too long for the field
// shows its start (the drive and the first folders say most) and the whole
// path as the tooltip.
class TPathEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TPathEdit(QWidget *parent = nullptr);

protected:
    void focusOutEvent(QFocusEvent *event) override;
};
