#include "UpvaneApp.h"

#include "CIniFile.h"
#include "CommCtrlApi.h"
#include "StepMark.h"
#include "UpvaneDlg.h"

// Static objects, constructed in this order before InitInstance runs: the application
// object (its name is the executable's base name), then the set-file reader. The
// process-wide strings live with the check's logic.
CUpvaneApp theApp;
CIniFile g_iniFile;

BOOL CUpvaneApp::InitInstance()
{
    AFX_STEP_MARK("program entered");
    Enable3dControls();
    AfxOleInit();
    AFX_STEP_MARK("COM initialised");

    // The dialog's progress bar is a common control: its class must exist before the dialog
    // is made from its template.
    AfxInitCommonControls();

    CUpvaneDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // No message loop of our own: the program ends with the dialog.
    return FALSE;
}
