#pragma once
#include <QString>

// Whether a file may not be written: no write permission in its mode, which
// counts here even for root (the engine would override it), or none for
// this process (a read-only medium, another owner).
bool isWriteProtected(const QString &path);
