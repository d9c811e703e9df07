#pragma once
#include <QStringList>

class TDatabase;

// Gives a server user everything a workstation needs: all rights on every
// table and view of the program and the use of every sequence. Run by the
// database's owner (or SYSDBA); committed when it returns.
void grantWorkstationUser(TDatabase &database, const QString &user);

// The workstations' own logins (not the one connected) that have the
// privilege ("S" select, "I" insert, ...) on the table: a step that adds a
// table grants them what they need of it.
QStringList workstationLoginsWith(TDatabase &database, const QString &table, QChar privilege);
