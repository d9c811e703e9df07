#pragma once
#include <QStringList>

class TDatabase;

// Gives a server user what a workstation needs and no more: reading,
// adding, changing and deleting the records of the everyday work, reading
// and adding the evidence (the chain only through its procedure), the use
// of every sequence. Run by the database's owner (or SYSDBA); committed when
// it returns.
void grantWorkstationUser(TDatabase &database, const QString &user);

// The workstations' own logins (not the one connected) that have the
// privilege ("S" select, "I" insert, ...) on the table: a step that adds a
// table grants them what they need of it.
QStringList workstationLoginsWith(TDatabase &database, const QString &table, QChar privilege);
