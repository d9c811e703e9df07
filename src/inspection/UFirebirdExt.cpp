#include "UFirebirdExt.h"
#include "Database.h"
#include "Query.h"

TFirebirdExt::TFirebirdExt(TDatabase *database) : FQuery(new TQuery(database)) {}

TFirebirdExt::~TFirebirdExt() { delete FQuery; }

TDecimal TFirebirdExt::NextPrueflingNummer(int kundenId)
{
    FQuery->setSql(QStringLiteral("SELECT MAX(NUMMER) FROM PRUEFLINGE WHERE KUNDEN_ID =:ID"));
    FQuery->paramByName(QStringLiteral("ID")).setAsInteger(kundenId);
    FQuery->execQuery();
    TDecimal result = TDecimal::fromInteger(1, 4);
    if (!FQuery->eof() && !FQuery->isNull(0))
        result = TDecimal::fromInteger(FQuery->asDecimal(0).rescaled(0).units() + 1, 4);
    FQuery->close();
    return result;
}
