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

namespace {
// Each window sets its global reference as its creation begins; a creation
// that fails must not leave the reference pointing at nothing.
template <typename T, typename... Args> void create(T *&global, Args... args)
{
    try {
        new T(args...);
    } catch (...) {
        global = nullptr;
        throw;
    }
}
} // namespace

void TProgram::create()
{
    // The pictures live in the program's static library.
    Q_INIT_RESOURCE(velmora);
    m_previousLongWork = setLongWorkRunner(&m_longWork);
    m_longWorkInstalled = true;
    ::create(frmDM);
    ::create(frmMain); // connects the database while it is created
    ::create(dlgAuftragnehmer, frmMain);
    ::create(dlgKunden, frmMain);
    ::create(dlgPruefgeraete, frmMain);
    ::create(dlgPruefer, frmMain);
    ::create(frmPruefling, frmMain);
    ::create(frmPruefung, frmMain);
    ::create(frmStatus, frmMain);
    ::create(frmDbBackup, frmMain);
    frmMain->offerFirstStart();
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
    if (m_longWorkInstalled)
        setLongWorkRunner(m_previousLongWork);
    m_longWorkInstalled = false;
}
