#pragma once
#include "Dialogs.h"
#include <QList>
#include <QQueue>
#include <functional>

// A dialog seam for tests: records everything shown and answers from queues.
// With an empty queue a question is answered with its first button (Ok or
// Yes) and a chooser with an empty text (cancelled).
class TScriptedDialogs : public IDialogs {
public:
    struct Shown {
        QString kind; // "message", "ask", "text", "beep", "open", "save", "folder", "url", "copy"
        QString text; // choosers: the proposed file or folder
        QString caption;
    };

    TScriptedDialogs() { m_previous = setDialogs(this); }
    ~TScriptedDialogs() override { setDialogs(m_previous); }

    QList<Shown> shown;
    QQueue<Answer> answers;
    QQueue<QString> paths;
    // Answers of askText; an empty queue cancels.
    QQueue<QString> texts;
    // Passwords typed when asked ("password"); an empty queue cancels.
    QQueue<QString> passwords;
    bool rememberPassword = false;
    bool copyResult = true;
    bool urlOpens = true; // false: no browser takes the address
    // Each answer sets the printer up as a user would in the print dialog;
    // an empty queue cancels the dialog.
    QQueue<std::function<void(QPrinter &)>> printChoices;

    QStringList messages() const; // texts of message boxes and questions, in order
    int beeps() const;
    void clear() { shown.clear(); }

    void message(const QString &text, Icon icon, const QString &caption) override;
    Answer ask(const QString &text, Buttons buttons, const QString &caption) override;
    void beep() override;
    std::optional<QString> askText(const QString &text, const QString &caption, int maxLength) override;
    QString chooseOpenFile(const QString &caption, const QString &, const QString &, const QString &) override;
    QString chooseSaveFile(const QString &caption, const QString &, const QString &, const QString &) override;
    QString chooseFolder(const QString &caption, const QString &) override;
    bool choosePrint(QPrinter &printer, int pageCount) override;
    bool openUrl(const QUrl &url) override;
    bool copyFileWithProgress(const QString &source, const QString &target) override;
    std::optional<QString> askPassword(const QString &text, bool &remember) override;

private:
    QString nextPath(const QString &kind, const QString &caption, const QString &proposed);
    IDialogs *m_previous = nullptr;
};
