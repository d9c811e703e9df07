#include "Application.h"
#include "QtDialogs.h"
#include "UMain.h"
#include "UProgram.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    applyProgramLocale();
    TQtDialogs dialogs;
    setDialogs(&dialogs);
    TProgram program;
    program.create();
    frmMain->show();
    const int result = app.exec();
    program.destroy();
    return result;
}
