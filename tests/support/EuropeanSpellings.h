#pragma once
// Customers, devices and remarks in European spellings beyond Latin-1, for
// the tests that follow such a text through the windows, the reports, the
// labels, the import and velmora-db. Each text must come back exactly.
#include <QList>
#include <QString>
#include <QtTest>

struct EuropeanSpelling {
    const char *row; // the data row's name
    QString customer;
    QString device; // a device's description
    QString remark; // an inspection's remark
    // The first letters a user types to find the customer.
    QString customerStart() const { return customer.left(3); }
};

inline const QList<EuropeanSpelling> &europeanSpellings()
{
    static const QList<EuropeanSpelling> spellings = {
        {"Yılmaz", QStringLiteral("Yılmaz Elektrik"), QStringLiteral("Bohrmaschine Ø 3 mm, Iğdır"),
         QStringLiteral("Gehäuse gerissen, Ersatz 12,50 € – Herr Yılmaz")},
        {"Łukasiewicz", QStringLiteral("Łukasiewicz Sp. z o.o."), QStringLiteral("Szlifierka Ø 3 mm, Łódź"),
         QStringLiteral("Gehäuse gerissen, Ersatz 12,50 € – Pani Łukasiewicz")},
        {"Dvořák", QStringLiteral("Dvořák s.r.o."), QStringLiteral("Vrtačka Ø 3 mm, Plzeň"),
         QStringLiteral("Gehäuse gerissen, Ersatz 12,50 € – pan Dvořák")},
    };
    return spellings;
}

// One data row per spelling, with its index in europeanSpellings().
inline void addEuropeanSpellingRows()
{
    QTest::addColumn<int>("spelling");
    for (int i = 0; i < europeanSpellings().size(); ++i)
        QTest::newRow(europeanSpellings()[i].row) << i;
}
