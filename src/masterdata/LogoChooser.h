#pragma once
#include <QWidget>

class QLabel;
class QPushButton;
class TDataSet;

// The contractor's logo in the contractor dialog: a small picture of it and
// buttons to choose an image file or remove the logo. The choice is an edit
// of the contractor's record, stored with "Sichern" like its other fields.
class TLogoChooser : public QWidget {
    Q_OBJECT
public:
    static constexpr qint64 MaxBytes = 2 * 1024 * 1024;

    TLogoChooser(TDataSet *contractor, QWidget *parent = nullptr);
    void chooseFile();
    void removeLogo();
    void showLogo();
    QLabel *picture() const { return m_picture; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setLogo(const QByteArray &bytes);

    TDataSet *m_contractor;
    QLabel *m_picture;
    QPushButton *m_choose;
    QPushButton *m_remove;
};
