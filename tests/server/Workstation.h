#pragma once
#include "UDM.h"
#include <optional>

// What a workstation's data module needs of a main window: the customer
// chosen and its device list, nothing shown.
class TWorkstationView : public IMainView {
public:
    explicit TWorkstationView(int kundeId) : m_kundeId(kundeId) {}
    void showConnectionState(const QString &, const QString &) override {}
    void showConnectionState(const QString &) override {}
    void clearCustomerList() override {}
    std::optional<int> selectedCustomerId() const override { return m_kundeId; }
    void fillCbKunden() override {}
    void Init2() override {}
    void refreshLists(bool) override
    {
        if (frmDM->dsetPrueflinge.active())
            frmDM->dsetPrueflinge.refresh();
    }

private:
    int m_kundeId;
};
