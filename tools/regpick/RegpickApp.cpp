#include "RegpickApp.h"

#include "RegpickDlg.h"

CRegpickApp theApp;

BOOL CRegpickApp::InitInstance()
{
    Enable3dControls();

    CRegpickDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // No message loop: the program ends with the dialog.
    return FALSE;
}
