#pragma once
#include "DataSource.h"
#include "Database.h"
#include "Field.h"
#include "Query.h"
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class TDatabase;
class TTransaction;
class TMasterLink;

enum class TDataSetState { Inactive, Browse, Edit, Insert };

// A record set over a select statement: fetches all its rows when it opens
// and keeps them in memory; changes go back through the insert, update and
// delete statements, each committed at once (commit retaining), and a
// posted row is read again with the refresh statement.
//
// Statement parameters: ":NAME" takes the value of field NAME of the row,
// ":OLD_NAME" its value before editing. In the refresh statement a name of
// a select parameter (a master value) takes that parameter's value first.
class TDataSet : public QObject {
    Q_OBJECT
public:
    using Event = std::function<void(TDataSet &)>;
    using Row = std::vector<TValue>;

    explicit TDataSet(TDatabase *database, QObject *parent = nullptr);
    ~TDataSet() override;

    TDatabase *database() const { return m_database; }
    TTransaction *transaction() const;
    void setTransaction(TTransaction *transaction);

    // Statements. Changing the select statement closes nothing by itself;
    // it takes effect at the next open.
    QStringList selectSql() const { return m_select->sql(); }
    void setSelectSql(const QStringList &lines) { m_select->setSql(lines); }
    void setSelectSql(const QString &text) { m_select->setSql(text); }
    void addSelectLine(const QString &line) { m_select->addLine(line); }
    QStringList insertSql, modifySql, deleteSql, refreshSql;

    // Parameters of the select statement.
    int paramCount() const { return m_select->paramCount(); }
    TParam &param(int index) { return m_select->param(index); }
    TParam &paramByName(const QString &name) { return m_select->paramByName(name); }

    // Key drawn from a sequence when a new row starts.
    QString generatorName, generatorField;
    // Commit retaining after every post and delete.
    bool autoCommit = true;
    // Through a server: "SELECT … WITH LOCK" of the row by :OLD_ID. An update
    // or delete then locks the row, compares it (through the refresh
    // statement) with the row as it was read and refuses a row another
    // workstation changed or deleted since (ERecordConflict).
    QStringList lockSql;
    // Through a server: runs first in every post, before beforePost, in the same savepoint as
    // the change: locks what the post's checks read (the customer of a new
    // device number), so that two workstations check and store one after
    // the other. Undone with the post when it fails.
    QStringList postLockSql;
    bool readOnly = false;
    bool canModify() const;
    int tag = 0;

    // Fields, in declared order. Without declared fields, opening creates
    // one per column of the select statement.
    TField *addField(const QString &name, TFieldType type, int sizeOrScale = 0);
    TField *addCalculatedField(const QString &name, TFieldType type, int sizeOrScale = 0);
    TField *addLookupField(const QString &name, int size, TDataSet *lookupDataSet, const QString &keyField,
                           const QString &lookupKeyField, const QString &lookupResultField);
    TField *findField(const QString &name) const;
    TField *fieldByName(const QString &name) const; // throws when absent
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    TField *field(int index) const { return m_fields.at(static_cast<size_t>(index)).get(); }

    // Master and detail: parameters named like fields of the master's
    // current row take their values; a move of the master to a row with
    // other values reopens this set; closing the master closes it.
    TDataSource *masterSource() const;
    void setMasterSource(TDataSource *source);

    // Filter: while filtered, only rows the handler accepts are fetched.
    std::function<void(TDataSet &, bool &accept)> onFilterRecord;
    bool filtered() const { return m_filtered; }
    void setFiltered(bool on); // reopens an open set

    // State and navigation.
    TDataSetState state() const { return m_state; }
    bool active() const { return m_state != TDataSetState::Inactive; }
    bool editing() const { return m_state == TDataSetState::Edit || m_state == TDataSetState::Insert; }
    bool modified() const { return m_modified; }
    bool isEmpty() const { return m_rows.empty(); }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    int recordCount() const { return static_cast<int>(m_rows.size()); }
    int recNo() const { return m_current + 1; } // 1-based; 0 when empty

    void open();
    void close();
    void setActive(bool on) { on ? open() : close(); }
    void first();
    void prior();
    void next();
    void last();
    int moveBy(int distance);
    void moveTo(int row); // 0-based
    void refresh();
    // Reads the current row again, for a column that other tables make (not
    // while editing).
    void rereadCurrentRow();

    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Writes pending input of the bound controls into the row; then posts
    // a modified row, cancels an untouched one.
    void checkBrowseMode();
    void updateRecord(); // writes pending input only

    // Case-insensitive prefix search on one field, from the first row or
    // forward from the row after the current one. Moves there when found.
    bool locatePrefix(const QString &fieldName, const QString &prefix, bool fromNext);
    // Exact search for a value; moves there when found.
    bool locate(const QString &fieldName, const TValue &value);

    Event beforeOpen, afterOpen, beforeClose, afterClose, afterScroll;
    Event beforeInsert, onNewRecord, afterInsert, beforeEdit, afterEdit;
    Event beforePost, afterPost, beforeCancel, afterCancel, beforeDelete, afterDelete;
    Event onCalcFields;
    // Run inside a post's or a delete's savepoint, right before and right
    // after its statement: what they write is committed with the change,
    // and an exception from them undoes the whole change.
    Event beforeStatement, afterStatement;

    // For grids: values of any row without moving.
    const TValue &valueAt(int row, const TField *field);

    // Used by fields, links and the connection.
    const TValue &currentValue(const TField *field);
    TValue oldValue(const TField *field) const;
    void setFieldValue(TField *field, const TValue &value);
    void addDataSource(TDataSource *source);
    void removeDataSource(TDataSource *source);
    void databaseDestroyed();

private:
    friend class TMasterLink;
    TField *addFieldOfKind(const QString &name, TFieldType type, int sizeOrScale, TFieldKind kind);
    void notify(TDataEvent event, TField *field = nullptr);
    void setState(TDataSetState state);
    void fetchAll();
    void bindColumns();
    void createDefaultFields();
    void calculate(int row);
    void calculateLookups(Row &row);
    bool accepted(int row);
    void moveCurrent(int row, bool atBof, bool atEof);
    void beginNewRow(int at);
    void applyDefaults();
    void drawKey();
    // Runs an insert (mustChangeRow false), update or delete of the current
    // row and commits it; a failed commit undoes the statement.
    void runChange(const QStringList &sql, bool mustChangeRow);
    // Runs work in a savepoint and commits it; a failure undoes the work.
    void changeInSavepoint(const std::function<void()> &work);
    void commitChange();
    void undoChange(); // back to the savepoint taken before the change
    void runStatement(TQuery &query, const QStringList &sql);
    // The conflict check of lockSql (DataSetConflicts.cpp).
    bool guardsAgainstOtherWorkstations() const;
    void verifyUnchangedSinceRead();
    QString conflictDetails(const Row &stored);
    const Row &rowAsRead() const;
    void setParamsFromRow(TQuery &query, bool refresh);
    void refreshCurrentRow();
    void takeMasterValues();
    void masterChanged(TField *field);
    int activeRow() const { return m_activeRow >= 0 ? m_activeRow : m_current; }
    TValue loadBlob(const TBlobRef &ref);

    QPointer<TDatabase> m_database;
    QPointer<TTransaction> m_transaction;
    TQuery *m_select;
    TQuery *m_change;   // insert, update or delete, prepared per statement
    TQuery *m_refresh;
    TQuery *m_generator;
    TQuery *m_lock;
    std::vector<std::unique_ptr<TField>> m_fields;
    std::vector<int> m_columnOfField; // select column of each data field, -1 for calculated
    std::vector<Row> m_rows;
    Row m_savedRow;                   // the row as it was when editing began
    int m_current = -1;
    int m_activeRow = -1;             // row read by fields while calculating or filtering
    bool m_calculating = false;
    bool m_bof = true;
    bool m_eof = true;
    bool m_modified = false;
    bool m_filtered = false;
    bool m_defaultFields = false;
    TDataSetState m_state = TDataSetState::Inactive;
    QList<TDataSource *> m_sources;
    std::unique_ptr<TMasterLink> m_masterLink;
};
