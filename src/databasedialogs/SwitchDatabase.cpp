#include "SwitchDatabase.h"
#include "UDM.h"
#include "USettings.h"

bool switchToDatabase(const QString &path)
{
    frmDM->Settings()->setDBName(path);
    const bool opened = frmDM->Connect();
    if (IMainView *main = frmDM->mainView())
        main->Init2();
    return opened && frmDM->Database.connected();
}
