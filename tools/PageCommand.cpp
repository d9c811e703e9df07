#include "PageCommand.h"
#include "CollectedMessages.h"
#include "DbError.h"
#include "ProgramLocale.h"
#include <QGuiApplication>

namespace pagecommand {

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int refuse(const QString &message)
{
    err() << message << Qt::endl;
    return Refused;
}

std::optional<int> number(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

int run(int argc, char *argv[], const std::function<QString(const QStringList &args)> &parse,
        const std::function<int(const QString &why)> &usage, const std::function<int(TCollectedMessages &)> &write)
{
    // Pages are laid out with fonts, not shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Orbenta"));
    app.setApplicationName(QStringLiteral("Tarnholm"));
    applyProgramLocale(); // numbers and dates as the program shows them
    const QString problem = parse(app.arguments().mid(2));
    if (!problem.isEmpty())
        return usage(problem);
    TCollectedMessages messages; // the data module's messages, printed on failure
    try {
        return write(messages);
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
}

} // namespace pagecommand
