#include "UMisc.h"
#include <QStandardPaths>

QString GetSpecialFolderPath(int csidl)
{
    switch (csidl) {
    case CSIDL_COMMON_DOCUMENTS:
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    case CSIDL_PERSONAL:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    default:
        return QString();
    }
}

QString GetFileVersionString() { return QStringLiteral(VELMORA_VERSION); }
