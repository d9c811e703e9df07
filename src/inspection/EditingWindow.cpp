#include "EditingWindow.h"
#include "Application.h"
#include "DataSet.h"
#include "Dialogs.h"

bool mayCloseEditing(TDataSet &dataSet)
{
    dataSet.updateRecord();
    if (!dataSet.editing())
        return true;
    const IDialogs::Answer answer =
        dialogs().ask(QStringLiteral("Daten in Bearbeitung...\r\nSichern?"), IDialogs::Buttons::YesNoCancel);
    if (answer != IDialogs::Answer::Yes && answer != IDialogs::Answer::No)
        return false;
    try {
        if (dataSet.editing())
            answer == IDialogs::Answer::Yes ? dataSet.post() : dataSet.cancel();
    } catch (...) {
        TApplication::showException(std::current_exception());
        return false;
    }
    return true;
}
