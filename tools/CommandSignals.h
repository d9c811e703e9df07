#pragma once

// Ctrl+C (SIGINT) and SIGTERM end a command at once and cleanly, also in
// the middle of an engine call: the part files being written are removed,
// "Abgebrochen." goes to standard error, and the exit code is 128 plus the
// signal (130, 143). What was not committed is rolled back by the engine
// when the file is next opened, so a file stays whole.
// The engine's own handlers would instead shut the connection down and
// leave the command to fail in English; they are replaced.
void endCommandsOnSignals();
