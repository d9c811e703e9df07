#include "UFirebirdExt.h"
#include "Database.h"
#include "Query.h"

TFirebirdExt::TFirebirdExt(TDatabase *database) : FQuery(std::make_unique<TQuery>(database)) {}

TFirebirdExt::~TFirebirdExt() = default;

void TFirebirdExt::setQuery(std::unique_ptr<TQuery> query) { FQuery = std::move(query); }

std::optional<TDecimal> TFirebirdExt::NextPrueflingNummer(int kundenId)
{
    // Counted in whole numbers: eighteen digits do not fit four places.
    constexpr qint64 largestNumber = 999'999'999'999'999'999;
    FQuery->setSql(QStringLiteral("SELECT MAX(NUMMER) FROM PRUEFLINGE WHERE KUNDEN_ID =:ID"));
    FQuery->paramByName(QStringLiteral("ID")).setAsInteger(kundenId);
    FQuery->execQuery();
    std::optional<TDecimal> result = TDecimal(1, 0);
    if (!FQuery->eof() && !FQuery->isNull(0)) {
        const qint64 largest = FQuery->asDecimal(0).rescaled(0).units();
        result = largest < largestNumber ? std::optional<TDecimal>(TDecimal(largest + 1, 0)) : std::nullopt;
    }
    FQuery->close();
    return result;
}
