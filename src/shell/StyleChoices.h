#pragma once
#include <QList>
#include <QString>

// One entry of the "Ansicht" menu: the name the user sees and stores, and
// the Qt style it applies.
struct TStyleChoice {
    QString name;
    QString key;
};

// "Windows" first, standing for the look the program started with
// (startupStyle, the platform's own), then every other style Qt offers,
// each looking different: a style that is the start-up style again is left
// out, and Qt's classic "Windows" style is called "Windows klassisch" so
// that it does not take the first entry's name.
QList<TStyleChoice> styleChoices(const QString &startupStyle, const QStringList &available);
