#pragma once
// For window tests that link the program's library: the whole program
// running on the demo database (changed by the given statements), its
// questions answered by a script. Destroying it ends the program.
#include "AppHome.h"
#include "ScriptedDialogs.h"
#include "UProgram.h"

struct TRunningProgram {
    TAppHome home;
    TScriptedDialogs dialogs;
    TProgram program;
    explicit TRunningProgram(const QStringList &changes = {})
    {
        home.createDatabase(changes);
        program.create();
    }
};
