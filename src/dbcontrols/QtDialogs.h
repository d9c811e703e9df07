#pragma once
#include "Dialogs.h"

// The dialog seam of the running program: Qt's message boxes and file
// choosers with German captions and buttons, the system beep, the desktop's
// handler for addresses and a file copy with a progress dialog.
class TQtDialogs : public IDialogs {
public:
    void message(const QString &text, Icon icon = Icon::Information, const QString &caption = {}) override;
    Answer ask(const QString &text, Buttons buttons, const QString &caption = {}) override;
    void beep() override;
    std::optional<QString> askText(const QString &text, const QString &caption, int maxLength) override;
    QString chooseOpenFile(const QString &caption, const QString &folder, const QString &filter,
                           const QString &defaultSuffix) override;
    QString chooseSaveFile(const QString &caption, const QString &folder, const QString &filter,
                           const QString &defaultSuffix) override;
    QString chooseFolder(const QString &caption, const QString &startFolder) override;
    bool choosePrint(QPrinter &printer, int pageCount) override;
    bool openUrl(const QUrl &url) override;
    // Copies in chunks of 1 MiB into "<target>.part" and renames it when
    // complete; a cancelled or failed copy removes the partial file.
    bool copyFileWithProgress(const QString &source, const QString &target) override;
    std::optional<QString> askPassword(const QString &text, bool &remember) override;

    // "Firebird-Datenbank|*.fdb|Alle Dateien|*.*" becomes
    // "Firebird-Datenbank (*.fdb);;Alle Dateien (*.*)".
    static QString toQtFilter(const QString &filter);

    // Milliseconds a copy runs before its progress dialog shows.
    int progressDelay = 500;
};
