// Datenbank → Prüfen: the fingerprints of the open database recomputed.
#include "Dialogs.h"
#include "FindingsWindow.h"
#include "FingerprintCheck.h"
#include "UDM.h"
#include "UMain.h"
#include <QApplication>

void TfrmMain::Pruefen1Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TFingerprintReport report;
    try {
        report = verifyFingerprints(frmDM->Database);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    if (report.sound()) {
        dialogs().message(report.text(), IDialogs::Icon::Information, QStringLiteral("Prüfen"));
        return;
    }
    // There may be thousands of findings: a box would grow off the screen.
    auto *window = new FindingsWindow(QStringLiteral("Prüfen"), report.text(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}
