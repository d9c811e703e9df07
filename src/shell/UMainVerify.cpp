// Datenbank → Prüfen: the fingerprints of the open database recomputed.
#include "Dialogs.h"
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
    dialogs().message(report.text(), report.sound() ? IDialogs::Icon::Information : IDialogs::Icon::Warning,
                      QStringLiteral("Prüfen"));
}
