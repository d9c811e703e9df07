#include "UGrenzwerte.h"
#include "Database.h"
#include "DbError.h"
#include "Query.h"
#include <QLocale>

namespace {
void checkIndex(int index)
{
    if (index < 0 || index >= TGrenzwerte::Count)
        throw EDatabaseError(QStringLiteral("Grenzwert %1 existiert nicht.").arg(index));
}
} // namespace

TGrenzwerte::TGrenzwerte(TDatabase *database) : FQuery(std::make_unique<TQuery>(database)) {}

TGrenzwerte::~TGrenzwerte() = default;

QString TGrenzwerte::displayText(const QString &bez1, double value, const QString &bez2)
{
    QString number = QString::asprintf("%8.2f", value);
    number.replace(u'.', QLocale().decimalPoint());
    return bez1 + u' ' + number + u' ' + bez2;
}

void TGrenzwerte::setDefaults()
{
    FQuery->setSql(QStringLiteral("SELECT ID, BEZEICHNUNG, BEZ1, WERT, BEZ2, WERT_I FROM GRENZWERTE ORDER BY ID"));
    FQuery->execQuery();
    for (int index = 0; !FQuery->eof() && index < Count; ++index, FQuery->next()) {
        TRecGrenzwert r;
        r.id = static_cast<qint32>(FQuery->asInteger(0));
        r.Bezeichnung = FQuery->asString(1);
        r.Bez1 = FQuery->asString(2);
        r.Wert = FQuery->asDecimal(3).toDouble();
        r.Bez2 = FQuery->asString(4);
        r.Wert_I = FQuery->asDecimal(5).toDouble();
        r.Anzeige = displayText(r.Bez1, r.Wert, r.Bez2);
        r.Anzeige_I = displayText(r.Bez1, r.Wert_I, r.Bez2);
        SetGrenzwert(index, r);
    }
    FQuery->close();
}

TRecGrenzwert TGrenzwerte::GetGrenzwert(int index) const
{
    checkIndex(index);
    return FGrenzwerte[static_cast<size_t>(index)];
}

void TGrenzwerte::SetGrenzwert(int index, const TRecGrenzwert &value)
{
    checkIndex(index);
    FGrenzwerte[static_cast<size_t>(index)] = value;
}

double TGrenzwerte::GetValue(int index) const { return GetGrenzwert(index).Wert; }

void TGrenzwerte::SetValue(int index, double value)
{
    checkIndex(index);
    FGrenzwerte[static_cast<size_t>(index)].Wert = value;
}
