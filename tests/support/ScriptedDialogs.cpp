#include "ScriptedDialogs.h"
#include <QFile>

QStringList TScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown &s : shown)
        if (s.kind == u"message" || s.kind == u"ask")
            texts << s.text;
    return texts;
}

int TScriptedDialogs::beeps() const
{
    int n = 0;
    for (const Shown &s : shown)
        n += s.kind == u"beep";
    return n;
}

void TScriptedDialogs::message(const QString &text, Icon icon, const QString &caption)
{
    shown.append({QStringLiteral("message"), text, caption.isEmpty() ? defaultCaption(icon) : caption});
}

IDialogs::Answer TScriptedDialogs::ask(const QString &text, Buttons buttons, const QString &caption)
{
    shown.append({QStringLiteral("ask"), text, caption.isEmpty() ? defaultCaption(Icon::Question) : caption});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::optional<QString> TScriptedDialogs::askText(const QString &text, const QString &caption, int maxLength)
{
    shown.append({QStringLiteral("text"), text, caption});
    if (texts.isEmpty())
        return std::nullopt;
    return texts.dequeue().left(maxLength);
}

void TScriptedDialogs::beep() { shown.append({QStringLiteral("beep"), {}, {}}); }

QString TScriptedDialogs::nextPath(const QString &kind, const QString &caption, const QString &proposed)
{
    shown.append({kind, proposed, caption});
    return paths.isEmpty() ? QString() : paths.dequeue();
}

QString TScriptedDialogs::chooseOpenFile(const QString &caption, const QString &folder, const QString &, const QString &)
{
    return nextPath(QStringLiteral("open"), caption, folder);
}

QString TScriptedDialogs::chooseSaveFile(const QString &caption, const QString &folder, const QString &, const QString &)
{
    return nextPath(QStringLiteral("save"), caption, folder);
}

QString TScriptedDialogs::chooseFolder(const QString &caption, const QString &startFolder)
{
    return nextPath(QStringLiteral("folder"), caption, startFolder);
}

bool TScriptedDialogs::openUrl(const QUrl &url)
{
    shown.append({QStringLiteral("url"), url.toString(), {}});
    return urlOpens;
}

bool TScriptedDialogs::copyFileWithProgress(const QString &source, const QString &target)
{
    shown.append({QStringLiteral("copy"), source + QStringLiteral(" -> ") + target, {}});
    if (!copyResult)
        return false;
    QFile::remove(target);
    return QFile::copy(source, target);
}

bool TScriptedDialogs::choosePrint(QPrinter &printer, int pageCount)
{
    shown.append({QStringLiteral("print"), QStringLiteral("1-%1").arg(pageCount), {}});
    if (printChoices.isEmpty())
        return false;
    printChoices.dequeue()(printer);
    return true;
}

std::optional<QString> TScriptedDialogs::askPassword(const QString &text, bool &remember)
{
    shown.append({QStringLiteral("password"), text, {}});
    if (passwords.isEmpty())
        return std::nullopt;
    remember = rememberPassword;
    return passwords.dequeue();
}
