#pragma once
// What a workstation's login may do with the evidence: read it and add to
// it, never change or remove it. The chain of fingerprints is appended only
// through a procedure that holds the right to insert and checks that the new
// entry follows the newest; triggers refuse changes and deletions of the
// chain, the kept earlier versions and the closed protocols to everyone but
// the database's owner.
#include <QStringList>

class TDatabase;

inline const QString kAppendProcedure = QStringLiteral("FINGERABDRUCK_ANHAENGEN");
// Gives the newest entry (NR, WERT; empty for an empty chain) locked until
// the transaction ends, so that the next entry can follow it.
inline const QString kLockHeadProcedure = QStringLiteral("FINGERABDRUCK_KOPF_SPERREN");
inline const QStringList kChainProcedures = {kLockHeadProcedure, kAppendProcedure};
inline const QStringList kEvidenceTables = {QStringLiteral("FINGERABDRUECKE"), QStringLiteral("PRUEFUNGEN_VERSIONEN"),
                                            QStringLiteral("PRUEFUNGEN_ABGESCHLOSSEN")};

// Whether the file has the chain's procedures (a file whose upgrade is left
// to the server's owner has not yet): then the chain is locked and
// appended only through them.
bool chainThroughProcedures(TDatabase &db);

// What a workstation's login gets on a table or view of the program, as the
// list of a GRANT statement.
QString workstationPrivileges(const QString &table, bool view);
