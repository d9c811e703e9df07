#pragma once
#include "UDM.h"
#include "EditingWindow.h"
#include <memory>

namespace Ui {
class TfrmPruefling;
}

// Where one device of the selected customer is entered and changed. Lives
// for the whole run; the device rules show it when the device record set
// starts inserting or editing. Every control is bound to the current device,
// so the numbering, cable-length and unique-number rules act as the user
// types and saves. Shows the symbol of the device's protection class.
class TfrmPruefling : public TEditingWindow, public IDeviceView {
    Q_OBJECT
public:
    explicit TfrmPruefling(QWidget *parent = nullptr);
    ~TfrmPruefling() override;

    // IDeviceView
    void showImage(const QString &schutzklasse) override;
    void fillBezeichnungen() override;
    void fillOrte() override;
    void showWindow() override { TEditingWindow::showWindow(); }

    void showImage(int schutzklasse);
    void fillSchutzklassen();
    void doBezeichnung();

    Ui::TfrmPruefling *ui() const { return m_ui.get(); }
    int FImageLoaded = -1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillList(class QComboBox *box, const QStringList &values);
    QList<QWidget *> lengthRow() const; // shown only while the cable is longer than 5 m

    std::unique_ptr<Ui::TfrmPruefling> m_ui;
};

extern TfrmPruefling *frmPruefling;
