#pragma once
#include "DryRun.h"
#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TDatabase;

// The dry run of an export: every row with the device it matches, its
// values, our verdict and its state, the counts; nothing is written until
// "Importieren" is confirmed with the counts in view. The dry run and the
// import run as long work on a connection of their own; after "Abbrechen"
// or a failure the window keeps what it showed.
class TfrmImportRun : public QWidget {
    Q_OBJECT
public:
    TfrmImportRun(TDatabase &database, int inspectorId, int instrumentId, QWidget *parent = nullptr);

    // Reads the file and shows its dry run.
    void openFile(const QString &path);
    // Judges the file again (after a device was created, a choice changed).
    void rerun();
    const TDryRun &dryRun() const { return m_run; }

signals:
    // Inspections or devices were written.
    void dataChanged();

private:
    void buildControls();
    // Judges the bytes and shows them as the window's file; false, with the
    // file, rows and choices shown before kept, when that was stopped or failed.
    bool judge(const QString &path, const QByteArray &bytes);
    void rememberChoices();
    void restoreChoices();
    void chooseFile();
    void showRows();
    void createDevice();
    void confirmImport();
    void updateButtons();
    const TImportRow *selectedRow() const;

    TDatabase &m_database;
    QString m_path;
    QByteArray m_bytes;
    TDryRun m_run;
    std::array<int, 3> m_shownChoices{}; // profile, inspector, instrument of m_run
    QComboBox *m_profile = nullptr;
    QComboBox *m_inspector = nullptr;
    QComboBox *m_instrument = nullptr;
    QLabel *m_file = nullptr;
    QLabel *m_counts = nullptr;
    QTableWidget *m_table = nullptr;
    QPushButton *m_createDevice = nullptr;
    QPushButton *m_import = nullptr;
};
