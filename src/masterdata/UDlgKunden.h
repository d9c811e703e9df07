#pragma once
#include "MasterDataDialog.h"
#include <memory>

namespace Ui {
class TdlgKunden;
}

// Keeps the customers: the fields of the current customer on the left, all customers in the list.
class TdlgKunden : public TMasterDataDialog {
    Q_OBJECT
public:
    explicit TdlgKunden(QWidget *parent = nullptr);
    ~TdlgKunden() override;
    Ui::TdlgKunden *ui() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::TdlgKunden> m_ui;
};

extern TdlgKunden *dlgKunden;
