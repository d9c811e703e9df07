#include "QtTranslations.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

bool installGermanQtTranslations()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    // Installed once per application object, however often asked.
    if (app->findChild<QTranslator *>(QStringLiteral("germanQtTranslator")))
        return true;
    auto translator = std::make_unique<QTranslator>();
    translator->setObjectName(QStringLiteral("germanQtTranslator"));
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setParent(app); // the application owns it from here
    return QCoreApplication::installTranslator(translator.release());
}
