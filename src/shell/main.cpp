#include "Application.h"
#include "PlaceholderWindow.h"
#include "QtDialogs.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    applyProgramLocale();
    TQtDialogs dialogs;
    setDialogs(&dialogs);
    TPlaceholderWindow window;
    window.show();
    return app.exec();
}
