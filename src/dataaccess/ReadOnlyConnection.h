#pragma once

class TDatabase;

// A connection whose transactions only read: each is a read-only snapshot,
// so the engine itself refuses any write through it, and everything read
// belongs to one moment. Set before the first transaction starts; the
// program's own connections stay read-write.
void makeReadOnly(TDatabase &db);
bool isReadOnly(const TDatabase &db);
