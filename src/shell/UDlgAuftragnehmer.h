#pragma once
#include <QDialog>

// Keeps the contractor, the firm whose address heads the reports.
// Lives for the whole run and is hidden, not destroyed, when closed.
class TdlgAuftragnehmer : public QDialog {
    Q_OBJECT
public:
    explicit TdlgAuftragnehmer(QWidget *parent = nullptr);
    ~TdlgAuftragnehmer() override;
};

extern TdlgAuftragnehmer *dlgAuftragnehmer;
