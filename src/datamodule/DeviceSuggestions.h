#pragma once
// The names and places that devices of all customers carry, sorted, without
// empty ones, for the device window's suggestions. They are read from the
// table of distinct texts (DeviceTexts.h) once per connection and then kept
// current by each saved device instead of being read again at every opening
// and save. A name that a changed or deleted device no longer carries stays
// offered until the next connection; another workstation's new name shows
// from the next connection on.
#include <QStringList>
#include <optional>

class TDatabase;

class DeviceSuggestions {
public:
    QStringList names(TDatabase &database);
    QStringList places(TDatabase &database);
    void deviceSaved(const QString &name, const QString &place);
    // The connection closed: the next opening reads them anew.
    void forget();

private:
    std::optional<QStringList> m_names;
    std::optional<QStringList> m_places;
};

// The one of the data module's connection.
DeviceSuggestions &deviceSuggestions();
