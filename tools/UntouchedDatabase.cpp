#include "UntouchedDatabase.h"
#include "CommandLine.h"
#include "FileCopy.h"
#include "HeldFiles.h"
#include "OpenFailure.h"
#include "ReadOnlyConnection.h"
#include "WriteProtection.h"
#include <QFile>
#include <QFileInfo>

UntouchedDatabase::UntouchedDatabase(QString path) : m_path(std::move(path)) {}

int UntouchedDatabase::copyOrRefuse()
{
    if (missing(m_path))
        return refuseMissing(m_path);
    // A copy of a file an engine has open may miss what it has not written yet.
    if (isLockedByAnEngine(m_path))
        return cli::refuse(kDatabaseInUse);
    m_writeProtected = isWriteProtected(m_path);
    m_folder.emplace();
    if (!m_folder->isValid())
        return cli::refuse(QStringLiteral("Für die Kopie der Datenbank gibt es keinen temporären Ordner: %1")
                               .arg(m_folder->errorString()));
    const QString copy = m_folder->filePath(QFileInfo(m_path).fileName());
    m_folderMark.emplace(m_folder->path());
    m_copyMark.emplace(copy);
    if (const TFileCopyResult done = copyFileCompletely(m_path, copy); !done.ok())
        return cli::refuse(done.failure);
    // The copy takes the file's mode; the engine must be able to write it.
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    m_connection = std::make_unique<TToolConnection>(copy);
    return cli::Ok;
}

int UntouchedDatabase::openOrRefuse()
{
    if (onServer(m_path)) {
        m_connection = std::make_unique<TToolConnection>(m_path);
    } else if (const int failed = copyOrRefuse(); failed != cli::Ok) {
        return failed;
    }
    makeReadOnly(m_connection->db);
    return m_connection->openOrRefuse();
}
