#pragma once
// The window that shows how far long work is: one line of text, a bar and,
// where stopping is safe, "Abbrechen". Closing it asks the same as the
// button; without the button it cannot be closed.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(const QString &title, bool cancellable, QWidget *parent = nullptr);

    void showProgress(const QString &text, qint64 done, qint64 total);

signals:
    // The user asked the work to stop; it stops at its next safe point.
    void cancelRequested();

public slots:
    void reject() override;

private:
    QLabel *m_text;
    QProgressBar *m_bar;
    QPushButton *m_cancel = nullptr;
};
