#pragma once
#include "MasterDataDialog.h"
#include <memory>

namespace Ui {
class TdlgPruefgeraete;
}

// Keeps the test instruments.
class TdlgPruefgeraete : public TMasterDataDialog {
    Q_OBJECT
public:
    explicit TdlgPruefgeraete(QWidget *parent = nullptr);
    ~TdlgPruefgeraete() override;
    Ui::TdlgPruefgeraete *ui() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::TdlgPruefgeraete> m_ui;
};

extern TdlgPruefgeraete *dlgPruefgeraete;
