#pragma once
#include <QString>

class TDatabase;

// The kinds of named things an upgrade step adds to a database file.
enum class SchemaObject { Table, Column, Index, Trigger, Sequence, Procedure, Exception };

// Whether the object exists, in the database's default transaction (started
// when it is not active). A column is named by its table and its own name;
// every other object by its name alone. Names are compared in upper case,
// as the engine keeps unquoted names.
bool schemaObjectExists(TDatabase &db, SchemaObject kind, const QString &name, const QString &table = {});
