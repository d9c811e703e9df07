#include "WriteProtection.h"
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

bool isWriteProtected(const QString &path)
{
    constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !(QFileInfo(path).permissions() & anyWrite) || ::access(QFile::encodeName(path).constData(), W_OK) != 0;
}
