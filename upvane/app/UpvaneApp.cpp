#include "UpvaneApp.h"

#include "CIniFile.h"
#include "UpvaneDlg.h"

// Static objects, constructed in this order before InitInstance runs: the application
// object (its name is the executable's base name), then the set-file reader. The
// process-wide strings live with the check's logic.
CUpvaneApp theApp;
CIniFile g_iniFile;

BOOL CUpvaneApp::InitInstance()
{
    Enable3dControls();
    AfxOleInit();

    CUpvaneDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // No message loop of our own: the program ends with the dialog.
    return FALSE;
}
