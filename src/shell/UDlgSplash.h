#pragma once
#include <QDialog>

class QLabel;

// The Info window: the program's name and version, its logo and a notice.
class TdlgSplash : public QDialog {
    Q_OBJECT
public:
    explicit TdlgSplash(QWidget *parent = nullptr);
    QLabel *lblTitle;

    // "Velmora V" and the first six characters of the version text.
    static QString titleFor(const QString &version);
};
