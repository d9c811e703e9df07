#pragma once
// What one test instrument's export looks like: how its bytes are text,
// how a line splits into cells, and which cell holds what. A firm keeps one
// profile per instrument and can pass it on as a small JSON file.
#include <QJsonObject>
#include <QString>
#include <array>
#include <optional>

enum class TextEncoding { Utf8, Latin1, Windows1252 };

// The cells an export can hold. The measured values follow the order of the
// measurement catalogue.
enum class ImportField {
    Customer,
    DeviceNumber,
    Payload,
    Date,
    Time,
    Inspector,
    Value0,
    Value1,
    Value2,
    Value3,
    Value4,
    Visual,
    Function,
    Verdict,
    Remark,
    Count
};

inline constexpr int kImportFieldCount = static_cast<int>(ImportField::Count);

struct ImportFieldInfo {
    ImportField field;
    const char *key;   // in the JSON file
    const char *label; // German, in the dialog and the dry-run table
};

// Every field with its JSON key and German label, in the order above.
const std::array<ImportFieldInfo, kImportFieldCount> &importFields();
const ImportFieldInfo &importFieldInfo(ImportField field);
// The field of a measured value by its place in the measurement catalogue.
ImportField valueField(int measurement);

// The longest name a stored profile may have (the column IMPORTPROFILE.NAME).
constexpr int kProfileNameLength = 60;

struct TImportProfile {
    QString name;
    TextEncoding encoding = TextEncoding::Utf8; // a UTF-8 byte order mark is skipped
    QChar separator = u';';
    QChar quote = u'"';
    bool decimalComma = true;
    QString dateFormat = QStringLiteral("dd.MM.yyyy"); // Qt's date format letters
    // Of the time column, or of the time inside the date cell when no
    // time column is given; empty: the date alone counts, at midnight.
    QString timeFormat = QStringLiteral("HH:mm");
    int headerLines = 1; // lines skipped before the first row
    bool customerByKey = false; // the customer cell holds the key, not the name
    // 1-based cell number per field, 0 when the export lacks it.
    std::array<int, kImportFieldCount> columns{};

    int column(ImportField field) const { return columns[static_cast<size_t>(field)]; }
    void setColumn(ImportField field, int number) { columns[static_cast<size_t>(field)] = number; }
    bool has(ImportField field) const { return column(field) > 0; }
    // The highest cell number any field uses.
    int lastColumn() const;

    // What keeps the profile from reading any file, in German; empty when
    // it can be used.
    QString problem() const;

    QJsonObject toJson() const;
    QByteArray toJsonText() const;
    // A profile from a JSON object; on a fault, none and the reason in
    // German in *error.
    static std::optional<TImportProfile> fromJson(const QJsonObject &object, QString *error);
    static std::optional<TImportProfile> fromJsonText(const QByteArray &text, QString *error);
};

QString encodingName(TextEncoding encoding);                     // "UTF-8", "ISO 8859-1", "Windows-1252"
std::optional<TextEncoding> encodingFromName(const QString &name); // the same names
