#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class TdlgDbConnection;
}
struct TServerLogin;

// Chooses the database the program works with, a file or a path on a
// server with user and password: try it ("Test"), or store it and switch
// over ("OK"). Uses the data module's connection.
struct TServerLogin;

class TdlgDbConnection : public QDialog {
    Q_OBJECT
public:
    explicit TdlgDbConnection(QWidget *parent = nullptr);
    ~TdlgDbConnection() override;
    Ui::TdlgDbConnection *ui() const { return m_ui.get(); }

    void btnTestClick();
    void btnOKClick();

private:
    bool isServerPath() const;
    // User, password and "Kennwort merken" show for a server path only.
    void showLoginFields();
    TServerLogin typedLogin() const;
    void keepLogin();
    std::unique_ptr<Ui::TdlgDbConnection> m_ui;
};
