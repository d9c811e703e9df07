// Through a server several workstations change the same rows. An update or
// delete locks its row first and compares it with the row as this record
// set read it, so that nobody overwrites a change they never saw.
#include "DataSet.h"
#include "Database.h"
#include "DbError.h"
#include <ibase.h>

namespace {

QString changedText() { return QStringLiteral("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz geändert."); }
QString deletedText() { return QStringLiteral("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz gelöscht."); }

// The fields a post writes: data fields the program may change.
bool compared(const TField &field) { return field.kind() == TFieldKind::Data && !field.readOnly; }

} // namespace

void rethrowWithLockWait(const EDatabaseError &error)
{
    for (const qint64 code : {qint64(isc_lock_timeout), qint64(isc_deadlock), qint64(isc_update_conflict), qint64(isc_lock_conflict)})
        if (error.hasEngineCode(code))
            // The engine's own lines ("lock time-out on wait transaction",
            // "deadlock") say nothing more to a user, and in English.
            throw EDatabaseError(QStringLiteral("Der Datensatz wird gerade an einem anderen Arbeitsplatz gespeichert. "
                                                "Bitte gleich noch einmal versuchen."),
                                 error.engineCodes());
    throw error;
}

bool TDataSet::guardsAgainstOtherWorkstations() const
{
    return m_database && m_database->isServer() && !lockSql.isEmpty() && !refreshSql.isEmpty();
}

const TDataSet::Row &TDataSet::rowAsRead() const
{
    return m_state == TDataSetState::Edit ? m_savedRow : m_rows.at(static_cast<size_t>(m_current));
}

void TDataSet::verifyUnchangedSinceRead()
{
    // The lock keeps the row as it is until this change is committed.
    if (m_lock->sql() != lockSql)
        m_lock->setSql(lockSql);
    setParamsFromRow(*m_lock, false);
    m_lock->execQuery();
    const bool gone = m_lock->eof();
    m_lock->close();
    if (gone)
        throw ERecordConflict(ERecordConflict::Kind::Deleted, deletedText());
    if (m_refresh->sql() != refreshSql)
        m_refresh->setSql(refreshSql);
    setParamsFromRow(*m_refresh, true);
    m_refresh->execQuery();
    if (m_refresh->eof()) {
        m_refresh->close();
        throw ERecordConflict(ERecordConflict::Kind::Deleted, deletedText());
    }
    Row stored = rowAsRead();
    for (const auto &f : m_fields) {
        const int column = m_refresh->columnIndex(f->fieldName());
        if (!compared(*f) || column < 0)
            continue;
        TValue v = m_refresh->value(column);
        if (const auto *blob = std::get_if<TBlobRef>(&v)) {
            const QString text = m_refresh->readBlob(*blob);
            v = text.isEmpty() ? TValue() : TValue(text);
        }
        stored[static_cast<size_t>(f->index())] = f->normalized(v);
    }
    m_refresh->close();
    const QString details = conflictDetails(stored);
    if (details.isEmpty())
        return;
    // What is stored now becomes the row this one was read as: a second post
    // applies what the user typed over it, knowingly.
    if (m_state == TDataSetState::Edit) {
        m_savedRow = stored;
    } else {
        m_rows[static_cast<size_t>(m_current)] = stored;
        notify(TDataEvent::DataSetChanged);
    }
    throw ERecordConflict(ERecordConflict::Kind::Changed, changedText() + details);
}

// The fields another workstation changed: each with what is stored now and,
// while editing, what the user typed.
QString TDataSet::conflictDetails(const Row &stored)
{
    const Row &read = rowAsRead();
    QString text;
    for (const auto &f : m_fields) {
        const size_t i = static_cast<size_t>(f->index());
        if (!compared(*f) || f->normalized(read[i]) == stored[i])
            continue;
        text += QStringLiteral("\n%1: jetzt „%2“").arg(f->label(), f->plainTextOf(stored[i]));
        if (m_state == TDataSetState::Edit)
            text += QStringLiteral(", Ihre Eingabe „%1“").arg(f->plainTextOf(m_rows[static_cast<size_t>(m_current)][i]));
    }
    return text.isEmpty() ? text : QStringLiteral("\n\nGespeichert ist jetzt:") + text;
}
