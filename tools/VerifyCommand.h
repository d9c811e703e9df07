#pragma once

// "velmora-db verify DB": recomputes the chain of fingerprints and lists
// every inspection whose data no longer matches and every gap.
// "velmora-db verify-pdf DB FILE.pdf": reads the fingerprints from the text
// of a protocol and says whether the protocol matches the database.
// Returns the exit code (0 sound, 1 something found or refused, 2 not
// understood).
int runVerifyCommand(int argc, char *argv[]);
