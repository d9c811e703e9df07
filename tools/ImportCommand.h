#pragma once

// "velmora-db import DB FILE --profile NAME [--dry-run] [--pruefer NAME]
// [--geraet NAME]": the dry-run table of an instrument's export as text,
// and the import on request. Returns 0 when every row was ready, 3 when
// rows were left out, 1 on an error, 2 when not understood.
int runImportCommand(int argc, char *argv[]);
