#pragma once
#include <QString>

class TDatabase;

// Gives a server user everything a workstation needs: all rights on every
// table and view of the program and the use of every sequence. Run by the
// database's owner (or SYSDBA); committed when it returns.
void grantWorkstationUser(TDatabase &database, const QString &user);
