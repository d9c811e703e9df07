#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QPrinter;

// The one seam for everything the program shows in a box or asks the system
// for: messages, questions, file and folder choosers, the beep, opening an
// address, copying a file with progress. The program installs the Qt
// implementation; tests install a scripted one. Nothing else opens a message
// box or a file chooser.
class IDialogs {
public:
    enum class Icon { Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~IDialogs() = default;

    // A plain message box with an OK button. An empty caption takes the
    // German caption of the icon ("Informationen", "Warnung", "Fehler").
    virtual void message(const QString &text, Icon icon = Icon::Information, const QString &caption = {}) = 0;
    // A question; closing the box counts as Cancel (or No without Cancel).
    // Enter answers with the first button, or with Cancel where there is one.
    virtual Answer ask(const QString &text, Buttons buttons, const QString &caption = {}) = 0;
    virtual void beep() = 0;
    // Asks for one line of text with OK and Abbrechen; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString &text, const QString &caption, int maxLength) = 0;

    // Choosers return the chosen path or an empty text when cancelled.
    // filter is "Firebird-Datenbank|*.fdb" style: description|pattern pairs.
    virtual QString chooseOpenFile(const QString &caption, const QString &folder, const QString &filter,
                                   const QString &defaultSuffix) = 0;
    virtual QString chooseSaveFile(const QString &caption, const QString &folder, const QString &filter,
                                   const QString &defaultSuffix) = 0;
    virtual QString chooseFolder(const QString &caption, const QString &startFolder) = 0;

    // The print dialog, configuring the printer given: printer or file,
    // page ranges (preset to 1..pageCount), copies, collation, page order,
    // duplex, paper and tray. False when cancelled.
    virtual bool choosePrint(QPrinter &printer, int pageCount) = 0;

    virtual bool openUrl(const QUrl &url) = 0;
    // Copies with a progress bar; asks before replacing an existing target;
    // the user may cancel. True when the target is complete.
    virtual bool copyFileWithProgress(const QString &source, const QString &target) = 0;

    // Asks for the password of a server login; empty when cancelled.
    // remember is the "Kennwort merken" box, preset and returned.
    virtual std::optional<QString> askPassword(const QString &text, bool &remember)
    {
        (void)text;
        (void)remember;
        return std::nullopt;
    }

    static QString defaultCaption(Icon icon);
};

IDialogs &dialogs();
// Installs the implementation in use and returns the previous one. The
// caller keeps ownership.
IDialogs *setDialogs(IDialogs *dialogs);
