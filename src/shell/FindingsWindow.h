#pragma once
#include <QDialog>

class QPlainTextEdit;

// What a check found, one finding a line, in a window that scrolls however
// many there are, with the text to copy or to save for whoever looks into it.
class FindingsWindow : public QDialog {
    Q_OBJECT
public:
    FindingsWindow(const QString &title, const QString &text, QWidget *parent);
    QString text() const;

private:
    void copyText();
    void saveText();

    QPlainTextEdit *m_text;
};
