#include "InspectionInsert.h"
#include "Fingerprints.h"
#include "Measurements.h"
#include "Query.h"
#include <QCryptographicHash>

namespace {

QStringList checksumColumns()
{
    return QStringList{QStringLiteral("PRUEFLINGE_ID"), QStringLiteral("PRUEFDATUM"), QStringLiteral("NEXT_PRUEFDATUM"),
                       QStringLiteral("PRUEFER_ID"),    QStringLiteral("PRUEFGERAETE_ID"), QStringLiteral("BEZEICHNUNG"),
                       QStringLiteral("SICHTPRUEFUNG_BESTANDEN")} +
           measurementColumns() + QStringList{QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("BEMERKUNG")};
}

void setOptional(TParam &param, const std::optional<TDecimal> &value)
{
    if (value)
        param.setAsDecimal(*value);
    else
        param.clear();
}

void setFlag(TParam &param, const std::optional<bool> &value)
{
    if (value)
        param.setAsInteger(*value ? 1 : 0);
    else
        param.clear();
}

} // namespace

QString inspectionChecksumColumns(const QString &prefix)
{
    QStringList columns = checksumColumns();
    for (QString &c : columns)
        c.prepend(prefix);
    return columns.join(QStringLiteral(", "));
}

QString inspectionChecksum(const TQuery &query)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const int count = static_cast<int>(checksumColumns().size());
    for (int i = 0; i < count; ++i) {
        const TValue &v = query.value(i);
        const QString text = std::holds_alternative<TBlobRef>(v) ? query.readBlob(std::get<TBlobRef>(v)) : valueToPlainText(v);
        hash.addData(isNull(v) ? QByteArrayView("\x01N") : QByteArrayView("\x01V"));
        hash.addData(text.toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex());
}

TInspectionWriter::TInspectionWriter(TDatabase &database)
    : FDatabase(database), FKey(std::make_unique<TQuery>(&database)), FInsert(std::make_unique<TQuery>(&database)),
      FRead(std::make_unique<TQuery>(&database))
{
    FKey->setSql(QStringLiteral("SELECT GEN_ID(SEQ_PRUEFUNGEN, CAST(:N AS INTEGER)) FROM RDB$DATABASE"));
    QStringList columns = checksumColumns();
    columns.prepend(QStringLiteral("ID"));
    QStringList params;
    for (const QString &c : columns)
        params << u':' + c;
    FInsert->setSql(QStringLiteral("INSERT INTO PRUEFUNGEN (%1) VALUES (%2)").arg(columns.join(u','), params.join(u',')));
    FRead->setSql(QStringLiteral("SELECT %1 FROM PRUEFUNGEN WHERE ID = :ID").arg(inspectionChecksumColumns()));
}

TInspectionWriter::~TInspectionWriter() = default;

void TInspectionWriter::reserveKeys(int count)
{
    FKey->paramByName(QStringLiteral("N")).setAsInteger(count);
    FKey->execQuery();
    FLastKey = FKey->asInteger(0);
    FKey->close();
    FNextKey = FLastKey - count + 1;
}

int TInspectionWriter::insert(const TNewInspection &in)
{
    if (FNextKey > FLastKey)
        reserveKeys(1);
    const int id = static_cast<int>(FNextKey++);
    TQuery &q = *FInsert;
    q.paramByName(QStringLiteral("ID")).setAsInteger(id);
    q.paramByName(QStringLiteral("PRUEFLINGE_ID")).setAsInteger(in.deviceId);
    q.paramByName(QStringLiteral("PRUEFDATUM")).setAsDateTime(in.when);
    q.paramByName(QStringLiteral("NEXT_PRUEFDATUM")).setAsDateTime(in.next);
    q.paramByName(QStringLiteral("PRUEFER_ID")).setAsInteger(in.inspectorId);
    q.paramByName(QStringLiteral("PRUEFGERAETE_ID")).setAsInteger(in.instrumentId);
    q.paramByName(QStringLiteral("BEZEICHNUNG")).clear();
    q.paramByName(QStringLiteral("SICHTPRUEFUNG_BESTANDEN")).setAsInteger(in.visual ? 1 : 0);
    for (const Measurement &m : kMeasurements) {
        const auto i = static_cast<size_t>(m.limitRow);
        setOptional(q.paramByName(m.valueColumn()), in.values[i]);
        setFlag(q.paramByName(m.flagColumn()), in.passed[i]);
    }
    q.paramByName(QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN")).setAsInteger(in.function ? 1 : 0);
    if (in.remark.isEmpty())
        q.paramByName(QStringLiteral("BEMERKUNG")).clear();
    else
        q.paramByName(QStringLiteral("BEMERKUNG")).setAsString(in.remark);
    q.execQuery();
    // An imported inspection joins the chain of fingerprints like one typed in.
    fingerprintInspection(FDatabase, id);
    if (afterInsert)
        afterInsert(FDatabase, id);
    return id;
}

QString TInspectionWriter::storedChecksum(int inspectionId)
{
    FRead->paramByName(QStringLiteral("ID")).setAsInteger(inspectionId);
    FRead->execQuery();
    const QString sum = inspectionChecksum(*FRead);
    FRead->close();
    return sum;
}
