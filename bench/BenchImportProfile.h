#pragma once
#include "ImportProfile.h"
#include <initializer_list>

// The import profile of a benchmark's export: Latin-1, its columns holding
// the given fields in this order.
inline TImportProfile benchImportProfile(std::initializer_list<ImportField> columns)
{
    TImportProfile p;
    p.name = QStringLiteral("Benchmark");
    p.encoding = TextEncoding::Latin1;
    int column = 0;
    for (const ImportField f : columns)
        p.setColumn(f, ++column);
    return p;
}
