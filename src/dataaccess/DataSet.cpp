#include "DataSet.h"
#include "Clock.h"
#include "Database.h"
#include "DbError.h"
#include <algorithm>

namespace {
QString notEditingText()
{
    return QStringLiteral("Der Datensatz wird nicht bearbeitet.");
}
} // namespace

// Follows the master's current row: reopens the detail when the values of
// its parameters change, closes it with the master and opens it again when
// the master opens again, so that a chain master, detail, detail of detail
// follows every move of the first.
class TMasterLink : public TDataLink {
public:
    explicit TMasterLink(TDataSet *detail) : m_detail(detail) {}
    void activeChanged() override
    {
        if (!active()) {
            if (m_detail->active()) {
                m_detail->close();
                m_reopenWithMaster = true; // after close(), which forgets it
            }
        } else if (m_reopenWithMaster) {
            m_reopenWithMaster = false;
            m_detail->open();
        }
    }
    void dataSetChanged() override { m_detail->masterChanged(nullptr); }
    void recordChanged(TField *field) override { m_detail->masterChanged(field); }
    // A close the detail's owner asked for: it stays closed.
    void forgetReopen() { m_reopenWithMaster = false; }

private:
    TDataSet *m_detail;
    bool m_reopenWithMaster = false;
};

TDataSet::TDataSet(TDatabase *database, QObject *parent)
    : QObject(parent), m_database(database), m_select(new TQuery(database, nullptr, this)),
      m_change(new TQuery(database, nullptr, this)), m_refresh(new TQuery(database, nullptr, this)),
      m_generator(new TQuery(database, nullptr, this)), m_lock(new TQuery(database, nullptr, this))
{
    m_database->registerDataSet(this);
}

TDataSet::~TDataSet()
{
    m_masterLink.reset();
    for (TDataSource *s : QList<TDataSource *>(m_sources))
        s->setDataSet(nullptr);
    if (m_database)
        m_database->unregisterDataSet(this);
}

void TDataSet::databaseDestroyed()
{
    m_rows.clear();
    m_state = TDataSetState::Inactive;
    m_database = nullptr;
}

TTransaction *TDataSet::transaction() const { return m_select->transaction(); }

void TDataSet::setTransaction(TTransaction *transaction)
{
    // The queries keep their own reference; rebuild them on the new one.
    for (TQuery **q : {&m_select, &m_change, &m_refresh, &m_generator, &m_lock}) {
        TQuery *old = *q;
        auto *fresh = new TQuery(m_database, transaction, this);
        fresh->setSql(old->sql());
        for (int i = 0; i < old->paramCount(); ++i)
            fresh->param(i).setValue(old->param(i).value());
        *q = fresh;
        delete old;
    }
    m_transaction = transaction;
}

bool TDataSet::canModify() const
{
    return !readOnly && (!insertSql.isEmpty() || !modifySql.isEmpty() || !deleteSql.isEmpty());
}

// --- fields ----------------------------------------------------------------

TField *TDataSet::addFieldOfKind(const QString &name, TFieldType type, int sizeOrScale, TFieldKind kind)
{
    if (active())
        throw EDatabaseError(QStringLiteral("Felder können nur bei geschlossener Datenmenge angelegt werden."));
    auto field = std::make_unique<TField>(this, name, type, sizeOrScale, kind);
    field->m_index = static_cast<int>(m_fields.size());
    m_fields.push_back(std::move(field));
    m_defaultFields = false;
    return m_fields.back().get();
}

TField *TDataSet::addField(const QString &name, TFieldType type, int sizeOrScale)
{
    return addFieldOfKind(name, type, sizeOrScale, TFieldKind::Data);
}

TField *TDataSet::addCalculatedField(const QString &name, TFieldType type, int sizeOrScale)
{
    return addFieldOfKind(name, type, sizeOrScale, TFieldKind::Calculated);
}

TField *TDataSet::addLookupField(const QString &name, int size, TDataSet *lookupDataSet, const QString &keyField,
                                 const QString &lookupKeyField, const QString &lookupResultField)
{
    TField *f = addFieldOfKind(name, TFieldType::String, size, TFieldKind::Lookup);
    f->lookupDataSet = lookupDataSet;
    f->keyField = keyField;
    f->lookupKeyField = lookupKeyField;
    f->lookupResultField = lookupResultField;
    return f;
}

TField *TDataSet::findField(const QString &name) const
{
    for (const auto &f : m_fields)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField *TDataSet::fieldByName(const QString &name) const
{
    if (TField *f = findField(name))
        return f;
    throw EDatabaseError(QStringLiteral("Feld '%1' nicht gefunden.").arg(name));
}

// --- values -----------------------------------------------------------------

const TValue &TDataSet::currentValue(const TField *field)
{
    static const TValue null;
    const int row = activeRow();
    if (row < 0 || row >= recordCount())
        return null;
    return valueAt(row, field);
}

const TValue &TDataSet::valueAt(int row, const TField *field)
{
    TValue &v = m_rows.at(static_cast<size_t>(row)).at(static_cast<size_t>(field->index()));
    if (const auto *blob = std::get_if<TBlobRef>(&v))
        v = loadBlob(*blob); // memo texts are read when first needed
    return v;
}

TValue TDataSet::loadBlob(const TBlobRef &ref)
{
    const QString text = m_select->readBlob(ref);
    return text.isEmpty() ? TValue() : TValue(text);
}

TValue TDataSet::oldValue(const TField *field) const
{
    if (m_state == TDataSetState::Edit)
        return m_savedRow.at(static_cast<size_t>(field->index()));
    if (m_current < 0)
        return TValue();
    return m_rows.at(static_cast<size_t>(m_current)).at(static_cast<size_t>(field->index()));
}

void TDataSet::setFieldValue(TField *field, const TValue &value)
{
    const bool calculating = m_calculating && field->isCalculated();
    if (!calculating && !editing())
        throw EDatabaseError(notEditingText());
    if (!calculating && field->readOnly)
        throw EDatabaseError(QStringLiteral("Das Feld '%1' kann nicht geändert werden.").arg(field->label()));
    const int row = activeRow();
    if (row < 0)
        throw EDatabaseError(notEditingText());
    TValue normalized = field->normalized(value);
    TValue &slot = m_rows[static_cast<size_t>(row)][static_cast<size_t>(field->index())];
    if (calculating) {
        slot = std::move(normalized);
        return;
    }
    (void)valueAt(row, field); // a memo not read yet is read before it is replaced
    TValue previous = slot;
    if (previous == normalized)
        return;
    slot = std::move(normalized);
    if (field->onChange) {
        try {
            field->onChange(*field);
        } catch (...) {
            m_rows[static_cast<size_t>(row)][static_cast<size_t>(field->index())] = previous;
            notify(TDataEvent::RecordChanged, field);
            throw;
        }
    }
    m_modified = true;
    calculate(row);
    notify(TDataEvent::RecordChanged, field);
    for (const auto &f : m_fields)
        if (f->isCalculated())
            notify(TDataEvent::RecordChanged, f.get()); // they follow the change
}

// --- calculated and lookup fields, filter ---------------------------------

void TDataSet::calculateLookups(Row &row)
{
    for (const auto &f : m_fields) {
        if (f->kind() != TFieldKind::Lookup)
            continue;
        TValue result;
        const TField *key = findField(f->keyField);
        TDataSet *list = f->lookupDataSet;
        if (key && list && list->active()) {
            const TValue &keyValue = row[static_cast<size_t>(key->index())];
            const TField *listKey = list->findField(f->lookupKeyField);
            const TField *listResult = list->findField(f->lookupResultField);
            if (!isNull(keyValue) && listKey && listResult) {
                for (int r = 0; r < list->recordCount(); ++r) {
                    if (list->valueAt(r, listKey) == keyValue) {
                        result = f->normalized(list->valueAt(r, listResult));
                        break;
                    }
                }
            }
        }
        row[static_cast<size_t>(f->index())] = result;
    }
}

void TDataSet::calculate(int row)
{
    bool any = false;
    for (const auto &f : m_fields)
        if (f->isCalculated()) {
            m_rows[static_cast<size_t>(row)][static_cast<size_t>(f->index())] = TValue();
            any = true;
        }
    if (!any)
        return;
    calculateLookups(m_rows[static_cast<size_t>(row)]);
    if (!onCalcFields)
        return;
    const int savedActive = m_activeRow;
    const bool savedCalculating = m_calculating;
    m_activeRow = row;
    m_calculating = true;
    try {
        onCalcFields(*this);
    } catch (...) {
        m_activeRow = savedActive;
        m_calculating = savedCalculating;
        throw;
    }
    m_activeRow = savedActive;
    m_calculating = savedCalculating;
}

bool TDataSet::accepted(int row)
{
    if (!m_filtered || !onFilterRecord)
        return true;
    const int savedActive = m_activeRow;
    m_activeRow = row;
    bool accept = true;
    try {
        onFilterRecord(*this, accept);
    } catch (...) {
        m_activeRow = savedActive;
        throw;
    }
    m_activeRow = savedActive;
    return accept;
}

void TDataSet::setFiltered(bool on)
{
    if (m_filtered == on)
        return;
    m_filtered = on;
    if (active())
        refresh();
}

// --- open and close -------------------------------------------------------

TDataSource *TDataSet::masterSource() const { return m_masterLink ? m_masterLink->dataSource() : nullptr; }

void TDataSet::setMasterSource(TDataSource *source)
{
    if (!source) {
        m_masterLink.reset();
        return;
    }
    if (!m_masterLink)
        m_masterLink = std::make_unique<TMasterLink>(this);
    m_masterLink->setDataSource(source);
}

void TDataSet::takeMasterValues()
{
    TDataSet *master = m_masterLink ? m_masterLink->dataSet() : nullptr;
    if (!master || !master->active())
        return;
    for (int i = 0; i < m_select->paramCount(); ++i) {
        TParam &p = m_select->param(i);
        if (const TField *f = master->findField(p.name()))
            p.setValue(master->currentValue(f));
    }
}

void TDataSet::masterChanged(TField *field)
{
    if (!active())
        return;
    TDataSet *master = m_masterLink->dataSet();
    if (!master || !master->active())
        return;
    bool differs = false;
    for (int i = 0; i < m_select->paramCount(); ++i) {
        const TParam &p = m_select->param(i);
        if (field && field->fieldName().compare(p.name(), Qt::CaseInsensitive) != 0)
            continue;
        if (const TField *f = master->findField(p.name()))
            differs = differs || !(master->currentValue(f) == p.value());
    }
    if (!differs)
        return;
    if (editing())
        cancel();
    close();
    open();
}

void TDataSet::createDefaultFields()
{
    m_fields.clear();
    for (int i = 0; i < m_select->columnCount(); ++i) {
        const TColumnInfo &c = m_select->column(i);
        TFieldType type = TFieldType::String;
        int size = 0;
        if (c.isBlob()) {
            type = TFieldType::Memo;
        } else if (c.isText()) {
            size = c.length;
        } else if (c.isExactNumber()) {
            type = c.scale < 0 ? TFieldType::Decimal : TFieldType::Integer;
            size = -c.scale;
        } else if (c.isTimestamp()) {
            type = TFieldType::DateTime;
        } else {
            type = TFieldType::Float;
        }
        auto field = std::make_unique<TField>(this, c.name, type, size, TFieldKind::Data);
        field->m_index = i;
        m_fields.push_back(std::move(field));
    }
    m_defaultFields = true;
}

void TDataSet::bindColumns()
{
    if (m_fields.empty() || m_defaultFields)
        createDefaultFields();
    m_columnOfField.assign(m_fields.size(), -1);
    for (const auto &f : m_fields) {
        if (f->isCalculated())
            continue;
        const int column = m_select->columnIndex(f->fieldName());
        if (column < 0)
            throw EDatabaseError(QStringLiteral("Feld '%1' nicht gefunden.").arg(f->fieldName()));
        m_columnOfField[static_cast<size_t>(f->index())] = column;
    }
}

void TDataSet::fetchAll()
{
    m_rows.clear();
    const size_t width = m_fields.size();
    std::vector<int> slotOfColumn(static_cast<size_t>(m_select->columnCount()), -1);
    for (size_t i = 0; i < width; ++i)
        if (m_columnOfField[i] >= 0)
            slotOfColumn[static_cast<size_t>(m_columnOfField[i])] = static_cast<int>(i);
    const bool calculated = std::any_of(m_fields.begin(), m_fields.end(), [](const auto &f) { return f->isCalculated(); });
    const bool filtering = m_filtered && onFilterRecord;
    const auto keep = [&] {
        const int index = recordCount() - 1;
        if (calculated)
            calculate(index);
        if (filtering && !accepted(index))
            m_rows.pop_back();
    };
    if (!m_select->eof()) {
        // execQuery has fetched the first row already.
        std::vector<TValue> first = m_select->takeRow();
        Row row(width);
        for (size_t c = 0; c < first.size(); ++c)
            if (slotOfColumn[c] >= 0)
                row[static_cast<size_t>(slotOfColumn[c])] = std::move(first[c]);
        m_rows.push_back(std::move(row));
        keep();
        for (;;) {
            Row next(width);
            if (!m_select->fetchNextInto(next, slotOfColumn))
                break;
            m_rows.push_back(std::move(next));
            keep();
        }
    }
    m_select->close();
}

void TDataSet::open()
{
    if (active())
        return;
    if (!m_database || !m_database->connected())
        throw EDatabaseError(QStringLiteral("Die Datenbank ist nicht verbunden."));
    if (beforeOpen)
        beforeOpen(*this);
    takeMasterValues();
    m_select->execQuery();
    try {
        bindColumns();
        fetchAll();
    } catch (...) {
        m_select->close();
        m_rows.clear();
        throw;
    }
    m_current = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    m_modified = false;
    m_state = TDataSetState::Browse;
    notify(TDataEvent::ActiveChanged);
    if (afterOpen)
        afterOpen(*this);
    if (!m_rows.empty() && afterScroll)
        afterScroll(*this);
}

void TDataSet::close()
{
    if (m_masterLink)
        m_masterLink->forgetReopen();
    if (!active())
        return;
    if (beforeClose)
        beforeClose(*this);
    m_select->close();
    m_rows.clear();
    m_savedRow.clear();
    m_current = -1;
    m_bof = m_eof = true;
    m_modified = false;
    m_state = TDataSetState::Inactive;
    notify(TDataEvent::ActiveChanged);
    if (afterClose)
        afterClose(*this);
}

void TDataSet::refresh()
{
    checkBrowseMode();
    const TField *key = findField(generatorField.isEmpty() ? QStringLiteral("ID") : generatorField);
    const TValue keyValue = (key && m_current >= 0) ? currentValue(key) : TValue();
    const int row = m_current;
    close();
    open();
    if (key && !isNull(keyValue) && locate(key->fieldName(), keyValue))
        return;
    if (row > 0 && !m_rows.empty())
        moveTo(std::min(row, recordCount() - 1));
}

// --- navigation -----------------------------------------------------------

void TDataSet::moveCurrent(int row, bool atBof, bool atEof)
{
    const int target = m_rows.empty() ? -1 : std::clamp(row, 0, recordCount() - 1);
    const bool changed = target != m_current || atBof != m_bof || atEof != m_eof;
    const bool moved = target != m_current;
    m_current = target;
    m_bof = atBof || m_rows.empty();
    m_eof = atEof || m_rows.empty();
    if (changed)
        notify(TDataEvent::DataSetScrolled);
    if (moved && afterScroll)
        afterScroll(*this);
}

void TDataSet::first()
{
    checkBrowseMode();
    moveCurrent(0, true, false);
}

void TDataSet::last()
{
    checkBrowseMode();
    moveCurrent(recordCount() - 1, false, true);
}

void TDataSet::next() { moveBy(1); }
void TDataSet::prior() { moveBy(-1); }

int TDataSet::moveBy(int distance)
{
    checkBrowseMode();
    if (!active())
        throw EDatabaseError(QStringLiteral("Die Datenmenge ist geschlossen."));
    const int from = m_current;
    const int wanted = m_current + distance;
    moveCurrent(wanted, wanted < 0, wanted > recordCount() - 1);
    return m_current - from;
}

void TDataSet::moveTo(int row)
{
    checkBrowseMode();
    moveCurrent(row, false, false);
}

bool TDataSet::locatePrefix(const QString &fieldName, const QString &prefix, bool fromNext)
{
    const TField *f = fieldByName(fieldName);
    checkBrowseMode();
    for (int r = fromNext ? m_current + 1 : 0; r < recordCount(); ++r) {
        if (f->plainTextOf(valueAt(r, f)).startsWith(prefix, Qt::CaseInsensitive)) {
            moveTo(r);
            return true;
        }
    }
    return false;
}

bool TDataSet::locate(const QString &fieldName, const TValue &value)
{
    const TField *f = fieldByName(fieldName);
    const TValue wanted = f->normalized(value);
    for (int r = 0; r < recordCount(); ++r) {
        // Rows hold what the engine sent (a DECIMAL(18,0) as an integer).
        if (f->normalized(valueAt(r, f)) == wanted) {
            moveTo(r);
            return true;
        }
    }
    return false;
}

// --- changes ----------------------------------------------------------------

void TDataSet::setState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    notify(TDataEvent::EditingChanged);
}

void TDataSet::updateRecord()
{
    if (editing())
        notify(TDataEvent::UpdateData);
}

void TDataSet::checkBrowseMode()
{
    if (!editing())
        return;
    updateRecord();
    if (m_modified)
        post();
    else
        cancel();
}

void TDataSet::applyDefaults()
{
    for (const auto &f : m_fields) {
        const QString expr = f->defaultExpression.trimmed();
        if (expr.isEmpty() || f->isCalculated())
            continue;
        TValue v;
        if (expr.compare(u"current_timestamp", Qt::CaseInsensitive) == 0 || expr.compare(u"now", Qt::CaseInsensitive) == 0) {
            v = TTimestamp::fromDateTime(TClock::now());
        } else if (f->dataType() == TFieldType::Decimal || f->dataType() == TFieldType::Float) {
            // Defaults are written with either separator: "0,3000" or "0.3000".
            QString text = expr;
            const auto d = TDecimal::parse(text.replace(u',', u'.'), 8, QLocale::c());
            if (!d)
                throw EDatabaseError(QStringLiteral("Ungültiger Vorgabewert '%1' für das Feld '%2'.").arg(expr, f->fieldName()));
            v = *d;
        } else {
            v = f->parseText(expr);
        }
        m_rows[static_cast<size_t>(m_current)][static_cast<size_t>(f->index())] = f->normalized(v);
    }
}

void TDataSet::drawKey()
{
    if (generatorName.isEmpty() || generatorField.isEmpty())
        return;
    if (m_generator->sql().isEmpty())
        m_generator->setSql(QStringLiteral("SELECT GEN_ID(%1, 1) FROM RDB$DATABASE").arg(generatorName));
    m_generator->execQuery();
    const qint64 key = m_generator->asInteger(0);
    m_generator->close();
    TField *f = fieldByName(generatorField);
    m_rows[static_cast<size_t>(m_current)][static_cast<size_t>(f->index())] = f->normalized(key);
}

void TDataSet::beginNewRow(int at)
{
    if (!active())
        throw EDatabaseError(QStringLiteral("Die Datenmenge ist geschlossen."));
    if (!canModify())
        throw EDatabaseError(QStringLiteral("Die Datenmenge kann nicht geändert werden."));
    checkBrowseMode();
    if (beforeInsert)
        beforeInsert(*this);
    const int index = std::clamp(at, 0, recordCount());
    m_rows.insert(m_rows.begin() + index, Row(m_fields.size()));
    m_current = index;
    m_bof = m_eof = false;
    try {
        applyDefaults();
        setState(TDataSetState::Insert);
        drawKey();
        if (onNewRecord)
            onNewRecord(*this);
        calculate(m_current);
    } catch (...) {
        m_rows.erase(m_rows.begin() + index);
        m_current = m_rows.empty() ? -1 : std::min(index, recordCount() - 1);
        m_state = TDataSetState::Browse;
        notify(TDataEvent::EditingChanged);
        notify(TDataEvent::DataSetChanged);
        throw;
    }
    m_modified = false;
    notify(TDataEvent::DataSetChanged);
    if (afterInsert)
        afterInsert(*this);
    if (afterScroll)
        afterScroll(*this);
}

void TDataSet::append() { beginNewRow(recordCount()); }
void TDataSet::insert() { beginNewRow(m_current < 0 ? 0 : m_current); }

void TDataSet::edit()
{
    if (editing())
        return;
    if (!active())
        throw EDatabaseError(QStringLiteral("Die Datenmenge ist geschlossen."));
    if (!canModify())
        throw EDatabaseError(QStringLiteral("Die Datenmenge kann nicht geändert werden."));
    if (m_rows.empty()) {
        append();
        return;
    }
    if (beforeEdit)
        beforeEdit(*this);
    // Memo texts are read before the copy, so the copy holds the old text.
    for (const auto &f : m_fields)
        (void)valueAt(m_current, f.get());
    m_savedRow = m_rows[static_cast<size_t>(m_current)];
    m_modified = false;
    setState(TDataSetState::Edit);
    if (afterEdit)
        afterEdit(*this);
}

void TDataSet::setParamsFromRow(TQuery &query, bool refresh)
{
    const Row &row = m_rows[static_cast<size_t>(m_current)];
    for (int i = 0; i < query.paramCount(); ++i) {
        TParam &p = query.param(i);
        QString name = p.name();
        const bool old = name.startsWith(QStringLiteral("OLD_"), Qt::CaseInsensitive);
        if (old)
            name = name.mid(4);
        if (!old && refresh) {
            if (TParam *master = m_select->findParam(name)) {
                p.setValue(master->value());
                continue;
            }
        }
        const TField *f = fieldByName(name);
        if (old && m_state == TDataSetState::Edit)
            p.setValue(m_savedRow[static_cast<size_t>(f->index())]);
        else
            p.setValue(row[static_cast<size_t>(f->index())]);
    }
}

void TDataSet::runStatement(TQuery &query, const QStringList &sql)
{
    if (query.sql() != sql)
        query.setSql(sql);
    setParamsFromRow(query, false);
    query.execQuery();
    query.close();
}

void TDataSet::runChange(const QStringList &sql, bool mustChangeRow)
{
    if (mustChangeRow && guardsAgainstOtherWorkstations())
        verifyUnchangedSinceRead();
    TQuery &query = *m_change;
    if (beforeStatement)
        beforeStatement(*this);
    runStatement(query, sql);
    // An update or delete that finds no row would otherwise count as saved.
    if (mustChangeRow && query.rowsAffected() == 0)
        throw EDatabaseError(QStringLiteral("Der Datensatz wurde inzwischen gelöscht oder geändert."));
    if (afterStatement)
        afterStatement(*this);
}

void TDataSet::changeInSavepoint(const std::function<void()> &work)
{
    if (!autoCommit) {
        work();
        return;
    }
    transaction()->setSavepoint();
    const auto undo = [this] {
        // Also gives up the locks the work took.
        try {
            transaction()->rollbackToSavepoint();
        } catch (const EDatabaseError &) {
            // The work's own error is the one to show.
        }
    };
    try {
        work();
    } catch (const ERecordConflict &) {
        undo();
        throw;
    } catch (const EDatabaseError &e) {
        undo();
        rethrowWithLockWait(e);
    } catch (...) {
        undo();
        throw;
    }
    commitChange();
}

void TDataSet::commitChange()
{
    try {
        transaction()->commitRetaining();
    } catch (const EDatabaseError &) {
        // Left pending, the statement would be stored by the next commit,
        // even after the user cancelled the row.
        undoChange();
        throw;
    }
}

void TDataSet::undoChange()
{
    if (!autoCommit)
        return;
    try {
        transaction()->rollbackToSavepoint();
    } catch (const EDatabaseError &) {
        // The change's own error is the one to show.
    }
}

void TDataSet::rereadCurrentRow()
{
    if (!active() || isEmpty() || editing())
        return;
    refreshCurrentRow();
    notify(TDataEvent::DataSetChanged);
}

void TDataSet::refreshCurrentRow()
{
    if (refreshSql.isEmpty())
        return;
    if (m_refresh->sql() != refreshSql)
        m_refresh->setSql(refreshSql);
    setParamsFromRow(*m_refresh, true);
    m_refresh->execQuery();
    if (!m_refresh->eof()) {
        Row &row = m_rows[static_cast<size_t>(m_current)];
        for (const auto &f : m_fields) {
            if (f->isCalculated())
                continue;
            const int column = m_refresh->columnIndex(f->fieldName());
            if (column >= 0)
                row[static_cast<size_t>(f->index())] = m_refresh->value(column);
        }
    }
    m_refresh->close();
}

void TDataSet::post()
{
    updateRecord();
    if (!editing())
        return;
    const bool inserting = m_state == TDataSetState::Insert;
    const QStringList &sql = inserting ? insertSql : modifySql;
    changeInSavepoint([&] {
        if (!postLockSql.isEmpty() && m_database->isServer())
            runStatement(*m_lock, postLockSql);
        if (beforePost)
            beforePost(*this);
        if (sql.isEmpty())
            throw EDatabaseError(QStringLiteral("Die Datenmenge kann nicht geändert werden."));
        runChange(sql, !inserting);
    });
    // From here the row is stored; the re-read only shows what the database
    // made of it.
    m_state = TDataSetState::Browse;
    m_savedRow.clear();
    m_modified = false;
    try {
        refreshCurrentRow();
        calculate(m_current);
    } catch (...) {
        notify(TDataEvent::EditingChanged);
        notify(TDataEvent::DataSetChanged);
        throw;
    }
    notify(TDataEvent::EditingChanged);
    notify(TDataEvent::DataSetChanged);
    if (afterPost)
        afterPost(*this);
}

void TDataSet::cancel()
{
    if (!editing())
        return;
    if (beforeCancel)
        beforeCancel(*this);
    const bool inserting = m_state == TDataSetState::Insert;
    if (inserting) {
        m_rows.erase(m_rows.begin() + m_current);
        m_current = m_rows.empty() ? -1 : std::min(m_current, recordCount() - 1);
    } else {
        m_rows[static_cast<size_t>(m_current)] = m_savedRow;
    }
    m_savedRow.clear();
    m_modified = false;
    m_bof = m_eof = m_rows.empty();
    setState(TDataSetState::Browse);
    notify(TDataEvent::DataSetChanged);
    if (afterCancel)
        afterCancel(*this);
    if (inserting && afterScroll)
        afterScroll(*this);
}

void TDataSet::deleteRecord()
{
    if (m_state == TDataSetState::Insert) {
        cancel();
        return;
    }
    if (!active() || m_rows.empty())
        throw EDatabaseError(QStringLiteral("Es ist kein Datensatz zum Löschen vorhanden."));
    if (deleteSql.isEmpty() || readOnly)
        throw EDatabaseError(QStringLiteral("Die Datenmenge kann nicht geändert werden."));
    if (m_state == TDataSetState::Edit)
        cancel();
    if (beforeDelete)
        beforeDelete(*this);
    changeInSavepoint([&] { runChange(deleteSql, true); });
    m_rows.erase(m_rows.begin() + m_current);
    m_current = m_rows.empty() ? -1 : std::min(m_current, recordCount() - 1);
    m_bof = m_eof = m_rows.empty();
    notify(TDataEvent::DataSetChanged);
    if (afterDelete)
        afterDelete(*this);
    if (afterScroll)
        afterScroll(*this);
}

// --- data sources -----------------------------------------------------------

void TDataSet::addDataSource(TDataSource *source)
{
    if (!m_sources.contains(source))
        m_sources.append(source);
}

void TDataSet::removeDataSource(TDataSource *source) { m_sources.removeAll(source); }

void TDataSet::notify(TDataEvent event, TField *field)
{
    for (TDataSource *s : QList<TDataSource *>(m_sources))
        if (m_sources.contains(s))
            s->notify(event, field);
}
