#pragma once
// How "verify" and "anchor" read a database: as it is, never changed.
// Attaching a file makes the engine write its header (attachment and
// transaction counters) even when nothing else is written, and a file this
// process may not write cannot be attached at all. So a file on this
// machine is read through a private copy in a temporary folder, removed
// afterwards and on Ctrl+C too; a database on a server is read in place.
// Either way every transaction only reads.
#include "ToolConnection.h"
#include "PartFiles.h"
#include <QTemporaryDir>
#include <memory>
#include <optional>

class UntouchedDatabase {
public:
    explicit UntouchedDatabase(QString path);
    UntouchedDatabase(const UntouchedDatabase &) = delete;
    UntouchedDatabase &operator=(const UntouchedDatabase &) = delete;

    // Ok, or the exit code after saying why not: missing, in use by a
    // program, not copied, or not opened.
    int openOrRefuse();
    TDatabase &db() { return m_connection->db; }
    TTransaction &transaction() { return m_connection->transaction; }
    // A file on this machine whose mode forbids writing it.
    bool writeProtected() const { return m_writeProtected; }

private:
    int copyOrRefuse();

    QString m_path;
    bool m_writeProtected = false;
    // Declared before the connection: it detaches before the copy goes.
    std::optional<QTemporaryDir> m_folder;
    std::optional<TRegisteredPartFile> m_folderMark, m_copyMark;
    std::unique_ptr<TToolConnection> m_connection;
};
