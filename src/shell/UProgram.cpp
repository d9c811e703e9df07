#include "UProgram.h"
#include "UDM.h"
#include "UDlgAuftragnehmer.h"
#include "UDlgBackup.h"
#include "UDlgKunden.h"
#include "UDlgPruefer.h"
#include "UDlgPruefgeraet.h"
#include "UMain.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include "UStatus.h"

void TProgram::create()
{
    // The pictures live in the program's static library.
    Q_INIT_RESOURCE(velmora);
    new TfrmDM;
    new TfrmMain; // connects the database while it is created
    new TdlgAuftragnehmer(frmMain);
    new TdlgKunden(frmMain);
    new TdlgPruefgeraete(frmMain);
    new TdlgPruefer(frmMain);
    new TfrmPruefling(frmMain);
    new TfrmPruefung(frmMain);
    new TfrmStatus(frmMain);
    new TfrmDbBackup(frmMain);
}

void TProgram::destroy()
{
    delete frmDbBackup;
    delete frmStatus;
    delete frmPruefung;
    delete frmPruefling;
    delete dlgPruefer;
    delete dlgPruefgeraete;
    delete dlgKunden;
    delete dlgAuftragnehmer;
    delete frmMain;
    delete frmDM;
}
