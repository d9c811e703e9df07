#pragma once
#include "UDM.h"
#include <QDialog>
#include <memory>

namespace Ui {
class TfrmPruefling;
}

// Where one device of the selected customer is entered and changed. Lives
// for the whole run; the device rules show it when the device record set
// starts inserting or editing. Every control is bound to the current device,
// so the numbering, cable-length and unique-number rules act as the user
// types and saves. Shows the symbol of the device's protection class.
class TfrmPruefling : public QDialog, public IDeviceView {
    Q_OBJECT
public:
    explicit TfrmPruefling(QWidget *parent = nullptr);
    ~TfrmPruefling() override;

    // IDeviceView
    void showImage(const QString &schutzklasse) override;
    void fillBezeichnungen() override;
    void fillOrte() override;
    void showWindow() override;

    void showImage(int schutzklasse);
    void fillSchutzklassen();
    void doBezeichnung();

    Ui::TfrmPruefling *ui() const { return m_ui.get(); }
    int FImageLoaded = -1;

public slots:
    void reject() override; // Escape: as "Abbrechen und Schließen"

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void btnSaveClick();
    void btnCancelClick();
    void fillList(class QComboBox *box, const QString &sql);

    std::unique_ptr<Ui::TfrmPruefling> m_ui;
};

extern TfrmPruefling *frmPruefling;
