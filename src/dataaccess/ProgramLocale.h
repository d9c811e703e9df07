#pragma once

// Numbers and dates follow the user's locale; a C or POSIX locale means German.
void applyProgramLocale();
