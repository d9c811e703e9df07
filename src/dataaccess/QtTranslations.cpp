#include "QtTranslations.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installGermanQtTranslations()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    // Installed once per application object, however often asked.
    if (app->findChild<QTranslator *>(QStringLiteral("germanQtTranslator")))
        return true;
    auto *translator = new QTranslator(app);
    translator->setObjectName(QStringLiteral("germanQtTranslator"));
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
