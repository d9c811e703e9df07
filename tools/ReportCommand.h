#pragma once

// "velmora-db report DB ...": writes the PDF of a report as the report
// window does, from the same project file and record sets. Returns the
// exit code (0 done, 1 refused, 2 not understood).
int runReportCommand(int argc, char *argv[]);
