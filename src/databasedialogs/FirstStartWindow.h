#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class FirstStartWindow;
}
class QLineEdit;

// Shown at start when there is no database: a new empty database for the
// firm (with its first inspector and instrument), the demonstration
// database, an existing file, or a database on a server. Each choice ends
// with that database open and remembered; closing the window leaves the
// program without one.
class FirstStartWindow : public QDialog {
    Q_OBJECT
public:
    // missingPath: the file the settings name, which is not there.
    explicit FirstStartWindow(const QString &missingPath, QWidget *parent = nullptr);
    ~FirstStartWindow() override;

    // The file a new firm's database and the demonstration database go to.
    static QString demoDatabasePath();

private:
    void showFirmPage();
    void createForFirm();
    void openDemoDatabase();
    void openExistingDatabase();
    void openServerDatabase();
    // Closes the window once the database is open.
    void finishWith(const QString &path);
    bool requireText(QLineEdit *edit, const QString &what);

    std::unique_ptr<Ui::FirstStartWindow> m_ui;
    QString m_missingPath;
};
