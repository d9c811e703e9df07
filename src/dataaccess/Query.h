#pragma once
#include "Database.h"
#include "Value.h"
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

class TDatabase;
class TTransaction;

// One named parameter of a statement. A name may stand at several places
// in the text; setting it sets them all.
class TParam {
public:
    explicit TParam(const QString &name = {}) : m_name(name) {}
    QString name() const { return m_name; }
    const TValue &value() const { return m_value; }
    bool isNull() const { return ::isNull(m_value); }

    void setValue(const TValue &v) { m_value = v; }
    void setAsInteger(qint64 v) { m_value = v; }
    void setAsString(const QString &v) { m_value = v; }
    void setAsDecimal(const TDecimal &v) { m_value = v; }
    void setAsDouble(double v) { m_value = v; }
    void setAsDate(const QDate &v) { m_value = v.isValid() ? TValue(v) : TValue(); }
    void setAsDateTime(const QDateTime &v) { m_value = v.isValid() ? TValue(TTimestamp::fromDateTime(v)) : TValue(); }
    void clear() { m_value = std::monostate(); }

private:
    QString m_name;
    TValue m_value;
};

// What a result column is.
struct TColumnInfo {
    QString name;     // the column's alias, upper case as the engine keeps it
    QString relation; // table of a plain column
    int sqlType = 0;  // the engine's type code, nullability bit cleared
    int scale = 0;    // negative for places after the point
    int length = 0;   // bytes
    int subType = 0;  // 1 for text blobs
    bool isText() const;
    bool isBlob() const;
    bool isExactNumber() const;
    bool isTimestamp() const;
};

// A statement with named parameters: SQL text lines, prepare once, execute,
// fetch rows, close.
class TQuery : public QObject {
    Q_OBJECT
public:
    explicit TQuery(TDatabase *database, TTransaction *transaction = nullptr, QObject *parent = nullptr);
    ~TQuery() override;

    TDatabase *database() const { return m_database; }
    TTransaction *transaction() const;

    // The statement text. A change takes effect at the next prepare.
    QStringList sql() const { return m_sql; }
    void setSql(const QStringList &lines);
    void setSql(const QString &text) { setSql(QStringList{text}); }
    void addLine(const QString &line);
    void clearSql() { setSql(QStringList()); }

    // Start the transaction when none is active (on by default).
    bool autoStartTransaction = true;
    // Commit the transaction after a statement that returns no rows.
    bool autoCommit = false;

    void prepare();
    void unprepare();
    bool prepared() const;

    int paramCount() const { return static_cast<int>(m_params.size()); }
    TParam &param(int index);
    TParam &paramByName(const QString &name);
    TParam *findParam(const QString &name);
    QStringList paramNames() const;

    // Runs the statement. A statement that returns rows is left on its first
    // row (eof() when there is none); the others are finished at once.
    void execQuery();
    bool eof() const { return m_eof; }
    void next();
    void close(); // closes the cursor; the statement stays prepared
    bool isOpen() const;
    bool returnsRows() const;
    quint64 rowsAffected() const { return m_rowsAffected; }

    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const TColumnInfo &column(int index) const { return m_columns.at(static_cast<size_t>(index)); }
    int columnIndex(const QString &name) const; // -1 when absent
    const TValue &value(int index) const { return m_row.at(static_cast<size_t>(index)); }
    const std::vector<TValue> &row() const { return m_row; }
    std::vector<TValue> takeRow() { return std::move(m_row); }
    // Fetches the next row straight into row: column i goes to
    // row[slotOfColumn[i]], a slot of -1 skips the column. False at the end.
    bool fetchNextInto(std::vector<TValue> &row, const std::vector<int> &slotOfColumn);

    bool isNull(int index) const { return ::isNull(value(index)); }
    qint64 asInteger(int index) const;
    QString asString(int index) const;
    TDecimal asDecimal(int index) const;
    QDateTime asDateTime(int index) const;

    // Reads a text BLOB of this query's transaction.
    QString readBlob(const TBlobRef &ref) const;

    static void closeCursorsOf(TTransaction *transaction);
    void databaseDestroyed();

private:
    struct Impl;
    void fetchRow();
    bool fetchNext();
    void decodeInto(std::vector<TValue> &row, const std::vector<int> *slotOfColumn);
    void ensureTransaction();

    QPointer<TDatabase> m_database;
    QPointer<TTransaction> m_transaction;
    QStringList m_sql;
    std::vector<TParam> m_params;     // one per distinct name
    std::vector<int> m_paramSlots;    // position in the text -> index into m_params
    std::vector<TColumnInfo> m_columns;
    std::vector<TValue> m_row;
    std::unique_ptr<Impl> d;
    bool m_eof = true;
    quint64 m_rowsAffected = 0;
};

// Replaces each ":NAME" outside quotes and comments by "?" and returns the
// names in the order they stand.
QString replaceNamedParams(const QString &sql, QStringList *names);
