#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class TdlgDbConnection;
}

// Chooses the database file the program works with: try a file ("Test"),
// or store it and switch over ("OK"). Uses the data module's connection.
class TdlgDbConnection : public QDialog {
    Q_OBJECT
public:
    explicit TdlgDbConnection(QWidget *parent = nullptr);
    ~TdlgDbConnection() override;
    Ui::TdlgDbConnection *ui() const { return m_ui.get(); }

    void btnTestClick();
    void btnOKClick();

private:
    std::unique_ptr<Ui::TdlgDbConnection> m_ui;
};
