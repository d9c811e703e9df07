#pragma once

// "velmora-db labels DB (--device ID… | --day KUNDE_ID JJJJ-MM-TT) --stock NAME
// [--first N] --out DATEI.pdf": the labels of devices as a PDF file.
int runLabelCommand(int argc, char *argv[]);
