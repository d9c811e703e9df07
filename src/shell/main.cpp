#include "Application.h"
#include "ProgramLocale.h"
#include "QtDialogs.h"
#include "QuitOnSignal.h"
#include "UMain.h"
#include "UProgram.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    applyProgramLocale();
    TQtDialogs dialogs;
    setDialogs(&dialogs);
    // Before the start: a logout during the start ends the program too.
    const TQuitOnSignal quitOnSignal(endProgramWithoutQuestions);
    TProgram program;
    program.create();
    frmMain->show();
    const int result = quitOnSignal.requested() ? 0 : app.exec();
    program.destroy();
    return result;
}
