#pragma once

// "velmora-db due DB ...": the due list of one customer or of all, up to a
// day or for some days ahead, as the "Faelligkeiten" report in a PDF file or
// as CSV on stdout. Returns the exit code (0 done, 1 refused, 2 not understood).
int runDueCommand(int argc, char *argv[]);
