#include "DryRun.h"
#include "DelimitedText.h"
#include "ImportCells.h"
#include "ImportLookups.h"
#include "Clock.h"
#include "LabelPayload.h"
#include "Measurements.h"
#include "Query.h"
#include "TextDecoding.h"
#include <QCryptographicHash>
#include <QSet>

namespace {

constexpr const char *kStateTexts[kRowStateCount] = {
    "bereit",          "Kunde unbekannt",      "Prüfling unbekannt", "bereits importiert", "Wert keine Zahl",
    "Datum fehlt",     "Datum in der Zukunft", "Urteil weicht ab",   "zu wenige Spalten",  "ungültig",
};

const QString kCheckingExport = QStringLiteral("Export wird geprüft");

QString label(ImportField field) { return QString::fromUtf8(importFieldInfo(field).label); }

// Reads one record into a row; every fault is noted with its state, the
// first fault decides the row's state.
class TRowReader {
public:
    TRowReader(const TImportLookups &lookups, const TImportProfile &profile, const TImportChoice &choice, TImportRow &row)
        : L(lookups), P(profile), C(choice), R(row)
    {
    }

    void read()
    {
        if (R.cells.size() < P.lastColumn()) {
            fault(RowState::TooFewColumns,
                  QStringLiteral("Die Zeile hat %1 Spalten, das Profil braucht %2.").arg(R.cells.size()).arg(P.lastColumn()));
            return;
        }
        findDevice();
        readValues();
        readChecks();
        readDate();
        readInspector();
        readRemark();
        judge();
    }

    void fault(RowState state, const QString &message)
    {
        if (R.messages.isEmpty())
            R.state = state;
        R.messages << message;
    }

private:
    std::optional<QString> cell(ImportField field) const
    {
        if (!P.has(field))
            return std::nullopt;
        return R.cells.at(P.column(field) - 1).trimmed();
    }

    void findDevice()
    {
        const QString payloadText = cell(ImportField::Payload).value_or(QString());
        if (!payloadText.isEmpty()) {
            findByPayload(payloadText);
            return;
        }
        if (!P.has(ImportField::Customer) || !P.has(ImportField::DeviceNumber)) {
            fault(RowState::UnknownDevice, QStringLiteral("Der QR-Code fehlt."));
            return;
        }
        R.customerText = *cell(ImportField::Customer);
        const QString numberText = *cell(ImportField::DeviceNumber);
        if (R.customerText.isEmpty()) {
            fault(RowState::UnknownCustomer, QStringLiteral("Der Kunde fehlt."));
            return;
        }
        const auto number = parseDeviceNumber(numberText);
        if (!number) {
            fault(RowState::UnknownDevice, numberText.isEmpty()
                                               ? QStringLiteral("Die Prüflingsnummer fehlt.")
                                               : QStringLiteral("Prüflingsnummer „%1“ ist keine ganze Zahl.").arg(numberText));
            return;
        }
        R.deviceNumber = *number;
        bool ambiguous = false;
        const auto customer = P.customerByKey ? L.customerByKey(R.customerText) : L.customerByName(R.customerText, &ambiguous);
        if (!customer) {
            fault(RowState::UnknownCustomer,
                  ambiguous ? QStringLiteral("Mehrere Kunden heißen „%1“; das Profil sollte den Kundenschlüssel lesen.")
                                  .arg(R.customerText)
                            : QStringLiteral("Kunde „%1“ ist nicht angelegt.").arg(R.customerText));
            return;
        }
        R.customerId = *customer;
        const QList<const TKnownDevice *> devices = L.devicesByNumber(R.customerId, R.deviceNumber);
        if (devices.size() != 1) {
            fault(RowState::UnknownDevice,
                  devices.isEmpty() ? QStringLiteral("Kunde „%1“ hat keinen Prüfling Nr. %2.")
                                          .arg(L.customerName(R.customerId), R.deviceNumber)
                                    : QStringLiteral("Kunde „%1“ hat mehrere Prüflinge Nr. %2.")
                                          .arg(L.customerName(R.customerId), R.deviceNumber));
            return;
        }
        useDevice(*devices.first());
    }

    void findByPayload(const QString &text)
    {
        const auto payload = parseLabelPayload(text);
        if (!payload) {
            fault(RowState::UnknownDevice, QStringLiteral("„%1“ ist kein QR-Code eines Velmora-Etiketts.").arg(text));
            return;
        }
        const TKnownDevice *device = L.deviceById(payload->deviceId);
        R.deviceNumber = parseDeviceNumber(payload->deviceNumber).value_or(QString());
        // The key alone could name another firm's device: customer and
        // number must agree as well.
        if (!device || device->customerId != payload->customerId || device->number != R.deviceNumber) {
            fault(RowState::UnknownDevice,
                  QStringLiteral("Den Prüfling des QR-Codes „%1“ gibt es in dieser Datenbank nicht.").arg(text));
            return;
        }
        R.customerId = device->customerId;
        R.customerText = L.customerName(device->customerId);
        useDevice(*device);
    }

    void useDevice(const TKnownDevice &device)
    {
        R.deviceId = device.id;
        R.nextInterval = device.interval;
        schutzklasse = device.schutzklasse;
        ownLimit = device.ownLimit;
        R.deviceText = QStringLiteral("%1 Nr. %2 (%3)").arg(device.name, device.number, L.customerName(device.customerId));
    }

    void readValues()
    {
        for (const Measurement &m : kMeasurements) {
            const auto text = cell(valueField(m.limitRow));
            if (!text)
                continue;
            const TCellNumber number = parseMeasuredValue(*text, P.decimalComma, m.germanLabel());
            if (!number.error.isEmpty()) {
                fault(RowState::NotANumber, number.error);
                unreadable = true;
            }
            R.values[static_cast<size_t>(m.limitRow)] = number.value;
        }
    }

    void readChecks()
    {
        for (const ImportField field : {ImportField::Visual, ImportField::Function, ImportField::Verdict}) {
            const auto text = cell(field);
            if (!text)
                continue;
            const TCellCheck check = parseCheck(*text, label(field));
            if (!check.error.isEmpty() || (!check.passed && field != ImportField::Verdict)) {
                fault(RowState::Invalid, check.error.isEmpty() ? QStringLiteral("%1 fehlt.").arg(label(field)) : check.error);
                unreadable = true;
            }
            if (field == ImportField::Visual)
                R.visual = check.passed.value_or(false);
            else if (field == ImportField::Function)
                R.function = check.passed.value_or(false);
            else
                R.instrumentVerdict = check.passed;
        }
    }

    void readDate()
    {
        const TCellDateTime date = parseDateTime(*cell(ImportField::Date), cell(ImportField::Time), P.dateFormat, P.timeFormat);
        if (!date.value.isValid()) {
            fault(date.missing ? RowState::DateMissing : RowState::Invalid, date.error);
            return;
        }
        R.when = date.value;
        if (R.when > TClock::now())
            fault(RowState::DateInFuture,
                  QStringLiteral("Das Datum %1 liegt in der Zukunft.").arg(R.when.toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
    }

    void readInspector()
    {
        const QString name = cell(ImportField::Inspector).value_or(QString());
        if (name.isEmpty()) {
            R.inspectorId = C.inspectorId;
            if (R.inspectorId <= 0)
                fault(RowState::Invalid, QStringLiteral("Die Zeile nennt keinen Prüfer, und keiner ist gewählt."));
            return;
        }
        if (const auto id = L.inspectorByName(name))
            R.inspectorId = *id;
        else
            fault(RowState::Invalid, QStringLiteral("Prüfer „%1“ ist nicht angelegt.").arg(name));
    }

    void readRemark() { R.remark = cell(ImportField::Remark).value_or(QString()); }

    // Our own verdicts, with our limits and rules; the instrument's verdict
    // is only compared with them.
    void judge()
    {
        bool result = R.visual && R.function;
        for (const Measurement &m : kMeasurements) {
            const auto i = static_cast<size_t>(m.limitRow);
            if (!R.values[i])
                continue;
            const double rowLimit = m.deviceLimitColumn ? ownLimit : L.rowLimit(m.limitRow);
            R.passed[i] = m.passes(R.values[i]->toDouble(), m.limitFor(rowLimit, schutzklasse));
            result = result && *R.passed[i];
        }
        R.ourVerdict = result;
        R.judged = R.deviceId != 0 && !unreadable;
        if (R.judged && R.instrumentVerdict && *R.instrumentVerdict != R.ourVerdict)
            fault(RowState::VerdictDiffers,
                  QStringLiteral("Das Messgerät sagt „%1“, nach den Grenzwerten dieses Programms ist die Prüfung „%2“. "
                                 "Die Zeile wird nicht übernommen; bitte von Hand prüfen.")
                      .arg(*R.instrumentVerdict ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden"),
                           R.ourVerdict ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden")));
    }

    const TImportLookups &L;
    const TImportProfile &P;
    const TImportChoice &C;
    TImportRow &R;
    QString schutzklasse;
    double ownLimit = 0.0;
    bool unreadable = false;
};

// A row for the same device at the same minute as a stored inspection, or
// as an earlier row of the file, would be a second record of one inspection.
void markRepeats(const TImportLookups &lookups, QList<TImportRow> &rows)
{
    QHash<qint64, int> firstLine;
    for (TImportRow &row : rows) {
        if (!row.deviceId || !row.when.isValid() || row.state == RowState::TooFewColumns)
            continue;
        const qint64 key = TImportLookups::minuteKey(row.deviceId, row.when);
        const QString message =
            lookups.inspected(row.deviceId, row.when)
                ? QStringLiteral("Für diesen Prüfling ist am %1 schon eine Prüfung gespeichert.")
                      .arg(row.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
            : firstLine.contains(key) ? QStringLiteral("Dieselbe Prüfung steht schon in Zeile %1 der Datei.").arg(firstLine.value(key))
                                      : QString();
        firstLine.insert(key, row.line);
        if (message.isEmpty())
            continue;
        row.state = RowState::AlreadyImported;
        row.messages.prepend(message);
    }
}

QString alreadyImportedNotice(TDatabase &database, const QByteArray &sha256)
{
    TQuery q(&database);
    q.setSql(QStringLiteral("SELECT FIRST 1 ID, IMPORTIERT_AM FROM IMPORTSTAPEL WHERE SHA256 = :SHA AND RUECKGAENGIG_AM IS NULL "
                            "ORDER BY IMPORTIERT_AM DESC"));
    q.paramByName(QStringLiteral("SHA")).setAsString(QString::fromLatin1(sha256));
    q.execQuery();
    QString notice;
    if (!q.eof())
        notice = QStringLiteral("Diese Datei wurde schon am %1 importiert (Stapel %2).")
                     .arg(q.asDateTime(1).toString(QStringLiteral("dd.MM.yyyy 'um' HH:mm")))
                     .arg(q.asInteger(0));
    q.close();
    return notice;
}

} // namespace

QString rowStateText(RowState state) { return QString::fromUtf8(kStateTexts[static_cast<int>(state)]); }

int TDryRun::count(RowState state) const
{
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [state](const TImportRow &r) { return r.state == state; }));
}

QString TDryRun::stateCounts(RowState first) const
{
    QStringList parts;
    for (int s = static_cast<int>(first); s < kRowStateCount; ++s)
        if (const int n = count(static_cast<RowState>(s)); n > 0 || s == 0) // "0 bereit" is said
            parts << QStringLiteral("%1 %2").arg(n).arg(rowStateText(static_cast<RowState>(s)));
    return parts.join(QStringLiteral(", "));
}

QString TDryRun::countsText() const { return stateCounts(RowState::Ready); }

QString TDryRun::leftOutText() const { return stateCounts(RowState::UnknownCustomer); }

void reportRows(const Progress &progress, const QString &text, qint64 done, qint64 total)
{
    reportEvery(100, progress, text, done, total, QStringLiteral("Zeilen"));
}

TDryRun dryRunImport(const TImportLookups &lookups, const TImportProfile &profile, const QString &fileName,
                     const QByteArray &bytes, const TImportChoice &choice, const Progress &progress)
{
    TDryRun run{profile, fileName, bytes, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(), choice, {}, {}, {}};
    if (const QString problem = profile.problem(); !problem.isEmpty()) {
        run.fileError = QStringLiteral("Das Profil ist unvollständig: ") + problem;
        return run;
    }
    const TDecodedText decoded = decodeExport(bytes, profile.encoding);
    if (!decoded.error.isEmpty()) {
        run.fileError = decoded.error;
        return run;
    }
    const TSplitText split = splitDelimited(decoded.text, profile.separator, profile.quote);
    const qsizetype count = split.records.size();
    const qint64 total = std::max<qint64>(0, count - profile.headerLines);
    for (qsizetype i = profile.headerLines; i < count; ++i) {
        reportRows(progress, kCheckingExport, i - profile.headerLines, total);
        const TTextRecord &record = split.records.at(i);
        TImportRow row;
        row.line = record.line;
        row.cells = record.cells;
        TRowReader reader(lookups, profile, choice, row);
        const bool last = i == count - 1;
        if (last && split.endsInsideQuotes)
            reader.fault(RowState::Invalid, QStringLiteral("Die Datei endet in einem offenen Anführungszeichen: "
                                                           "die letzte Zeile ist abgeschnitten."));
        reader.read();
        if (last && split.endsWithoutLineEnd && row.state == RowState::TooFewColumns)
            row.messages << QStringLiteral("Die Datei endet mitten in dieser Zeile; sie ist wohl abgeschnitten.");
        run.rows << row;
    }
    reportRows(progress, kCheckingExport, total, total);
    markRepeats(lookups, run.rows);
    if (run.rows.isEmpty())
        run.fileError = QStringLiteral("Die Datei enthält nach %1 Kopfzeile(n) keine Datenzeilen.").arg(profile.headerLines);
    return run;
}

TDryRun dryRunImport(TDatabase &database, const TImportProfile &profile, const QString &fileName, const QByteArray &bytes,
                     const TImportChoice &choice, const Progress &progress)
{
    const TImportLookups lookups(database);
    TDryRun run = dryRunImport(lookups, profile, fileName, bytes, choice, progress);
    run.fileNotice = alreadyImportedNotice(database, run.sha256);
    return run;
}

QList<QStringList> previewRows(const TImportProfile &profile, const QByteArray &bytes, int count, QString *error)
{
    const TDecodedText decoded = decodeExport(bytes, profile.encoding);
    *error = decoded.error;
    QList<QStringList> rows;
    if (!decoded.error.isEmpty())
        return rows;
    const TSplitText split = splitDelimited(decoded.text, profile.separator, profile.quote);
    for (qsizetype i = 0; i < split.records.size() && rows.size() < count; ++i)
        rows << split.records.at(i).cells;
    return rows;
}
