#pragma once
#include "MasterDataDialog.h"
#include <memory>

class TLogoChooser;

namespace Ui {
class TdlgAuftragnehmer;
}

// Keeps the contractor, the firm whose address heads the reports: edits the
// row the record set shows first. No insert, no delete, no resizing.
class TdlgAuftragnehmer : public TMasterDataDialog {
    Q_OBJECT
public:
    explicit TdlgAuftragnehmer(QWidget *parent = nullptr);
    ~TdlgAuftragnehmer() override;
    Ui::TdlgAuftragnehmer *ui() const { return m_ui.get(); }
    TLogoChooser *logo() const { return m_logo; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TdlgAuftragnehmer> m_ui;
    TLogoChooser *m_logo = nullptr;
};

extern TdlgAuftragnehmer *dlgAuftragnehmer;
