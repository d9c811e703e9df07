#pragma once
#include "MasterDataDialog.h"
#include <memory>

namespace Ui {
class TdlgPruefer;
}

// Keeps the inspectors. Closing does not ask: an edit in progress stays in progress.
class TdlgPruefer : public TMasterDataDialog {
    Q_OBJECT
public:
    explicit TdlgPruefer(QWidget *parent = nullptr);
    ~TdlgPruefer() override;
    Ui::TdlgPruefer *ui() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::TdlgPruefer> m_ui;
};

extern TdlgPruefer *dlgPruefer;
