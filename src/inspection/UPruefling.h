#pragma once
#include "UDM.h"
#include <QDialog>

// Where one device of the selected customer is entered and changed. Lives
// for the whole run; the device rules show it when the device record set
// starts inserting or editing.
class TfrmPruefling : public QDialog, public IDeviceView {
    Q_OBJECT
public:
    explicit TfrmPruefling(QWidget *parent = nullptr);
    ~TfrmPruefling() override;

    void showImage(const QString &schutzklasse) override;
    void fillBezeichnungen() override;
    void fillOrte() override;
    void showWindow() override;

    QString shownSchutzklasse; // the class whose symbol is shown
};

extern TfrmPruefling *frmPruefling;
