#pragma once
#include "Database.h"
#include <QDialog>
#include <memory>

namespace Ui {
class TdlgNewDatabase;
}

// Creates a new database file with the schema, the fixed rows and the
// demonstration records, over a connection of its own, then opens it as the
// program's database and remembers it.
class TdlgNewDatabase : public QDialog {
    Q_OBJECT
public:
    explicit TdlgNewDatabase(QWidget *parent = nullptr);
    ~TdlgNewDatabase() override;
    Ui::TdlgNewDatabase *ui() const { return m_ui.get(); }

    void doNewDatabase();

    TDatabase Database;
    TTransaction Transaction{&Database};

private:
    std::unique_ptr<Ui::TdlgNewDatabase> m_ui;
};
