#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class TfrmDlgSettingPrueflinge;
}
class QAbstractButton;

// Chooses the inspection interval a new device receives and stores it in
// the settings. Created for one use and shown modally.
class TfrmDlgSettingPrueflinge : public QDialog {
    Q_OBJECT
public:
    static constexpr int Months[] = {3, 6, 12, 24, 36, 48};

    explicit TfrmDlgSettingPrueflinge(QWidget *parent = nullptr);
    ~TfrmDlgSettingPrueflinge() override;

    void saveDefaultSetting();
    int selectedPosition() const; // -1 when none
    Ui::TfrmDlgSettingPrueflinge *ui() const { return m_ui.get(); }
    bool aChanged = false;

protected:
    void closeEvent(QCloseEvent *event) override;

public slots:
    void reject() override { close(); }

private:
    QList<QAbstractButton *> choices() const;
    std::unique_ptr<Ui::TfrmDlgSettingPrueflinge> m_ui;
};
