#pragma once
#include <QDateTime>

// The one source of "now". Tests fix it; the program reads the system clock.
class TClock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    static void setFixedNow(const QDateTime &fixed); // invalid: back to the system clock
};
