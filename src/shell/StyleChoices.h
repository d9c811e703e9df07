#pragma once
#include <QList>
#include <QString>

// One entry of the "Ansicht" menu: the name the user sees and stores, and
// the Qt style it applies.
struct TStyleChoice {
    QString name;
    QString key;
};

// The look the program started with (startupStyle, the platform's own)
// first, then every other style Qt offers, each looking different: a style
// that is the start-up style again is left out. On Windows the first entry
// is "Windows" and Qt's classic style "Windows klassisch"; elsewhere a
// Windows name would mislead, so the entries say what they look like:
// "Systemstandard", "Klassisch", "Modern" (Qt's Fusion).
QList<TStyleChoice> styleChoices(const QString &startupStyle, const QStringList &available, bool onWindows);

// The entry a stored name means, also a name stored by an earlier version
// ("Windows" for the first entry, "Windows klassisch" for the classic
// look); -1 for none.
int storedStyleIndex(const QList<TStyleChoice> &choices, const QString &stored);
