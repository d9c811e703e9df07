#include "EditingWindow.h"
#include "Application.h"
#include "DataSet.h"
#include "Dialogs.h"
#include "ScreenFit.h"
#include <QCloseEvent>
#include <QLayout>

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

bool mayCloseAllEditing(const QList<TDataSet *> &dataSets)
{
    for (TDataSet *dataSet : dataSets)
        if (dataSet->active() && !mayCloseEditing(*dataSet))
            return false;
    return true;
}

TEditingWindow::TEditingWindow(QWidget *parent, TDataSet &dataSet) : QDialog(parent), m_dataSet(dataSet) {}

void TEditingWindow::showWindow()
{
    const bool placed = !isVisible() && parentWidget();
    if (placed) {
        // Its own size, not a default one, is centred.
        if (layout())
            layout()->activate();
        if (!testAttribute(Qt::WA_Resized))
            adjustSize();
        moveWithinScreen(this, parentWidget()->geometry().center() - rect().center());
    }
    show();
    if (placed) // now with its frame and the size its content settled on
        moveWithinScreen(this, pos());
    raise();
    activateWindow();
}

namespace {

// Input that cannot be written into the record counts as typed, too.
bool anythingTyped(TDataSet &dataSet)
{
    try {
        dataSet.updateRecord();
    } catch (...) {
        return true;
    }
    return dataSet.editing() && dataSet.modified();
}

} // namespace

void TEditingWindow::btnSaveClick()
{
    m_dataSet.updateRecord();
    if (m_dataSet.editing())
        m_dataSet.post();
    hide();
}

void TEditingWindow::btnCancelClick()
{
    if (anythingTyped(m_dataSet) &&
        dialogs().ask(QStringLiteral("Eingaben verwerfen?"), IDialogs::Buttons::YesNo) != IDialogs::Answer::Yes)
        return;
    if (m_dataSet.editing())
        m_dataSet.cancel();
    hide();
}

void TEditingWindow::reject()
{
    try {
        btnCancelClick();
    } catch (...) {
        TApplication::showException(std::current_exception());
    }
}

void TEditingWindow::closeEvent(QCloseEvent *event)
{
    if (mayCloseEditing(m_dataSet))
        event->accept();
    else
        event->ignore();
}
