#pragma once
#include "Dialogs.h"
#include <QStringList>

// The dialog seam of a command-line tool: nobody can answer, so every
// message is kept for the tool to print, every question is answered with
// its cancelling button, and nothing is chosen, printed, opened or copied.
class TCollectedMessages : public IDialogs {
public:
    TCollectedMessages() : m_previous(setDialogs(this)) {}
    ~TCollectedMessages() override { setDialogs(m_previous); }
    TCollectedMessages(const TCollectedMessages &) = delete;
    TCollectedMessages &operator=(const TCollectedMessages &) = delete;

    QStringList messages;

    void message(const QString &text, Icon, const QString &) override { messages << text; }
    Answer ask(const QString &text, Buttons buttons, const QString &) override
    {
        messages << text;
        return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    void beep() override {}
    std::optional<QString> askText(const QString &text, const QString &, int) override
    {
        messages << text;
        return std::nullopt;
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    bool choosePrint(QPrinter &, int) override { return false; }
    bool openUrl(const QUrl &) override { return false; }
    bool copyFileWithProgress(const QString &, const QString &) override { return false; }

private:
    IDialogs *m_previous;
};
