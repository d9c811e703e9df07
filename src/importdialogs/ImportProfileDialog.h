#pragma once
#include "ImportProfile.h"
#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTableWidget;
class TDatabase;

// The import profiles: pick one, edit it with a live preview of the first
// rows of a sample export split as the profile says, store it, or pass it
// on as a JSON file.
class TdlgImportProfile : public QDialog {
    Q_OBJECT
public:
    explicit TdlgImportProfile(TDatabase &database, QWidget *parent = nullptr);

    // The export whose first rows the preview shows.
    void setSampleFile(const QString &path);
    TImportProfile profile() const; // as the form shows it
    void showProfile(const TImportProfile &profile);

private:
    void buildControls();
    void reloadList(const QString &select = QString());
    void listChosen();
    void updatePreview();
    void save();
    void remove();
    void importJson();
    void exportJson();

    TDatabase &m_database;
    QByteArray m_sample;
    bool m_loading = false;
    QListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QComboBox *m_encoding = nullptr;
    QComboBox *m_separator = nullptr;
    QLineEdit *m_quote = nullptr;
    QCheckBox *m_decimalComma = nullptr;
    QLineEdit *m_dateFormat = nullptr;
    QLineEdit *m_timeFormat = nullptr;
    QSpinBox *m_headerLines = nullptr;
    QCheckBox *m_customerByKey = nullptr;
    std::array<QSpinBox *, kImportFieldCount> m_columns{};
    QLabel *m_problem = nullptr;
    QTableWidget *m_preview = nullptr;
};
