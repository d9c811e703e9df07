// Datenbank → Prüfen: the fingerprints of the open database recomputed, on a
// connection of its own off the window's thread.
#include "Dialogs.h"
#include "FindingsWindow.h"
#include "FingerprintCheck.h"
#include "LongWork.h"
#include "OwnConnection.h"
#include "UDM.h"
#include "UMain.h"

void TfrmMain::Pruefen1Click()
{
    TFingerprintReport report;
    try {
        runOnOwnConnection(frmDM->Database, QStringLiteral("Prüfen"), true, [&](OwnConnection &own, const Progress &progress) {
            report = verifyFingerprints(own.db, progress);
        });
    } catch (const EWorkCancelled &) {
        return; // the user stopped it; nothing was changed
    }
    if (report.sound()) {
        dialogs().message(report.text(), IDialogs::Icon::Information, QStringLiteral("Prüfen"));
        return;
    }
    // There may be thousands of findings: a box would grow off the screen.
    auto *window = new FindingsWindow(QStringLiteral("Prüfen"), report.text(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}
