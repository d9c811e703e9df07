#include "ImportProfile.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

namespace {

constexpr std::array<ImportFieldInfo, kImportFieldCount> kFields{{
    {ImportField::Customer, "kunde", "Kunde"},
    {ImportField::DeviceNumber, "nummer", "Prüflingsnummer"},
    {ImportField::Payload, "qrcode", "QR-Code des Etiketts"},
    {ImportField::Date, "datum", "Datum"},
    {ImportField::Time, "uhrzeit", "Uhrzeit"},
    {ImportField::Inspector, "pruefer", "Prüfer"},
    {ImportField::Value0, "schutzleiterwiderstand", "Schutzleiterwiderstand"},
    {ImportField::Value1, "isolationswiderstand", "Isolationsprüfung"},
    {ImportField::Value2, "ersatzableitstrom", "Ersatzableitstrom"},
    {ImportField::Value3, "differenzstrom", "Differenzstrom"},
    {ImportField::Value4, "beruehrungsstrom", "Berührungsstrom"},
    {ImportField::Visual, "sichtpruefung", "Sichtprüfung"},
    {ImportField::Function, "funktionspruefung", "Funktionsprüfung"},
    {ImportField::Verdict, "urteil", "Urteil des Messgeräts"},
    {ImportField::Remark, "bemerkung", "Bemerkung"},
}};

const char *const kEncodingNames[] = {"UTF-8", "ISO 8859-1", "Windows-1252"};

QChar singleChar(const QJsonObject &o, const char *key, QChar fallback, QString *error)
{
    const QString text = o.value(QLatin1String(key)).toString(QString(fallback));
    if (text == u"\\t")
        return u'\t';
    if (text.size() != 1) {
        if (error->isEmpty())
            *error = QStringLiteral("„%1“ muss genau ein Zeichen sein, nicht „%2“.").arg(QLatin1String(key), text);
        return fallback;
    }
    return text.at(0);
}

} // namespace

const std::array<ImportFieldInfo, kImportFieldCount> &importFields() { return kFields; }

const ImportFieldInfo &importFieldInfo(ImportField field) { return kFields[static_cast<size_t>(field)]; }

ImportField valueField(int measurement) { return static_cast<ImportField>(static_cast<int>(ImportField::Value0) + measurement); }

QString encodingName(TextEncoding encoding) { return QString::fromLatin1(kEncodingNames[static_cast<int>(encoding)]); }

std::optional<TextEncoding> encodingFromName(const QString &name)
{
    for (int i = 0; i < 3; ++i)
        if (name.compare(QLatin1String(kEncodingNames[i]), Qt::CaseInsensitive) == 0)
            return static_cast<TextEncoding>(i);
    return std::nullopt;
}

int TImportProfile::lastColumn() const { return *std::max_element(columns.begin(), columns.end()); }

QString TImportProfile::problem() const
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Das Profil braucht einen Namen.");
    if (name.trimmed().size() > kProfileNameLength)
        return QStringLiteral("Der Name eines Profils darf höchstens %1 Zeichen lang sein.").arg(kProfileNameLength);
    if (separator == quote)
        return QStringLiteral("Trennzeichen und Anführungszeichen müssen verschieden sein.");
    if (separator == u'\n' || separator == u'\r' || separator.isNull())
        return QStringLiteral("Das Trennzeichen darf kein Zeilenende sein.");
    if (decimalComma && separator == u',')
        return QStringLiteral("Mit Komma als Trennzeichen kann das Dezimalzeichen nicht auch ein Komma sein.");
    if (!has(ImportField::Payload) && !(has(ImportField::Customer) && has(ImportField::DeviceNumber)))
        return QStringLiteral("Das Profil braucht den QR-Code oder Kunde und Prüflingsnummer, um den Prüfling zu finden.");
    for (const ImportField required : {ImportField::Date, ImportField::Visual, ImportField::Function})
        if (!has(required))
            return QStringLiteral("Das Profil braucht eine Spalte für „%1“.").arg(QString::fromUtf8(importFieldInfo(required).label));
    if (dateFormat.trimmed().isEmpty())
        return QStringLiteral("Das Profil braucht ein Datumsformat.");
    if (has(ImportField::Time) && timeFormat.trimmed().isEmpty())
        return QStringLiteral("Zur Spalte „Uhrzeit“ gehört ein Zeitformat.");
    for (size_t i = 0; i < columns.size(); ++i)
        for (size_t j = i + 1; j < columns.size(); ++j)
            if (columns[i] > 0 && columns[i] == columns[j])
                return QStringLiteral("Spalte %1 ist zweimal vergeben: „%2“ und „%3“.")
                    .arg(columns[i])
                    .arg(QString::fromUtf8(kFields[i].label), QString::fromUtf8(kFields[j].label));
    return {};
}

QJsonObject TImportProfile::toJson() const
{
    QJsonObject cols;
    for (const ImportFieldInfo &f : kFields)
        if (has(f.field))
            cols.insert(QLatin1String(f.key), column(f.field));
    return QJsonObject{
        {QStringLiteral("format"), QStringLiteral("velmora-importprofil")},
        {QStringLiteral("version"), 1},
        {QStringLiteral("name"), name},
        {QStringLiteral("zeichensatz"), encodingName(encoding)},
        {QStringLiteral("trennzeichen"), separator == u'\t' ? QStringLiteral("\\t") : QString(separator)},
        {QStringLiteral("anfuehrungszeichen"), QString(quote)},
        {QStringLiteral("dezimalkomma"), decimalComma},
        {QStringLiteral("datumsformat"), dateFormat},
        {QStringLiteral("zeitformat"), timeFormat},
        {QStringLiteral("kopfzeilen"), headerLines},
        {QStringLiteral("kunde_als_schluessel"), customerByKey},
        {QStringLiteral("spalten"), cols},
    };
}

QByteArray TImportProfile::toJsonText() const { return QJsonDocument(toJson()).toJson(QJsonDocument::Indented); }

std::optional<TImportProfile> TImportProfile::fromJson(const QJsonObject &o, QString *error)
{
    QString fault;
    if (o.value(QStringLiteral("format")).toString() != u"velmora-importprofil") {
        *error = QStringLiteral("Die Datei ist kein Importprofil von Velmora Prüfprotokolle.");
        return std::nullopt;
    }
    TImportProfile p;
    p.name = o.value(QStringLiteral("name")).toString().trimmed();
    const QString encodingText = o.value(QStringLiteral("zeichensatz")).toString(QStringLiteral("UTF-8"));
    if (const auto encoding = encodingFromName(encodingText))
        p.encoding = *encoding;
    else
        fault = QStringLiteral("Den Zeichensatz „%1“ kennt das Programm nicht (UTF-8, ISO 8859-1 oder Windows-1252).")
                    .arg(encodingText);
    p.separator = singleChar(o, "trennzeichen", p.separator, &fault);
    p.quote = singleChar(o, "anfuehrungszeichen", p.quote, &fault);
    p.decimalComma = o.value(QStringLiteral("dezimalkomma")).toBool(p.decimalComma);
    p.dateFormat = o.value(QStringLiteral("datumsformat")).toString(p.dateFormat);
    p.timeFormat = o.value(QStringLiteral("zeitformat")).toString(p.timeFormat);
    p.headerLines = o.value(QStringLiteral("kopfzeilen")).toInt(p.headerLines);
    p.customerByKey = o.value(QStringLiteral("kunde_als_schluessel")).toBool(false);
    if (p.headerLines < 0 && fault.isEmpty())
        fault = QStringLiteral("Die Zahl der Kopfzeilen darf nicht negativ sein.");
    const QJsonObject cols = o.value(QStringLiteral("spalten")).toObject();
    for (auto it = cols.begin(); it != cols.end(); ++it) {
        const auto *info = std::find_if(kFields.begin(), kFields.end(),
                                        [&](const ImportFieldInfo &f) { return it.key() == QLatin1String(f.key); });
        const int number = it.value().toInt(-1);
        if (info == kFields.end()) {
            if (fault.isEmpty())
                fault = QStringLiteral("Die Spalte „%1“ kennt das Programm nicht.").arg(it.key());
        } else if (number < 0 || number > 1000) {
            if (fault.isEmpty())
                fault = QStringLiteral("„%1“ braucht eine Spaltennummer ab 1.").arg(it.key());
        } else {
            p.setColumn(info->field, number);
        }
    }
    if (fault.isEmpty())
        fault = p.problem();
    if (!fault.isEmpty()) {
        *error = fault;
        return std::nullopt;
    }
    return p;
}

std::optional<TImportProfile> TImportProfile::fromJsonText(const QByteArray &text, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &parseError);
    if (!doc.isObject()) {
        *error = QStringLiteral("Die Datei ist kein gültiges JSON-Profil (%1).").arg(parseError.errorString());
        return std::nullopt;
    }
    return fromJson(doc.object(), error);
}
