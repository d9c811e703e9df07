#pragma once
#include <QString>
#include <optional>

// The password of a server login in the desktop's keyring (Secret Service
// or KWallet through qtkeychain), never in the settings file. Each call
// waits for the keyring a few seconds at most; without a keyring nothing
// is read and storing reports false, so the program asks instead.
std::optional<QString> readStoredPassword(const QString &databaseName, const QString &user);
bool storePassword(const QString &databaseName, const QString &user, const QString &password);
void forgetStoredPassword(const QString &databaseName, const QString &user);

// The warning when "Kennwort merken" finds no keyring.
QString keyringMissingText();
