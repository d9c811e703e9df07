#include "Application.h"
#include "DbError.h"
#include "Dialogs.h"
#include "QtTranslations.h"
#include <QLocale>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Orbenta"));
    setApplicationName(QStringLiteral("Tarnholm"));
    // No display name: the platform would append it to every caption, and
    // a box reads "Fehler", not "Fehler – Velmora Prüfprotokolle".
    installGermanQtTranslations();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showException(std::current_exception());
    }
    return false;
}

void TApplication::showException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EAbort &) {
        // The rule that refused has already spoken.
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
    } catch (const std::exception &e) {
        dialogs().message(QString::fromLocal8Bit(e.what()), IDialogs::Icon::Error);
    } catch (...) {
        dialogs().message(QStringLiteral("Unbekannter Fehler"), IDialogs::Icon::Error);
    }
}

