#include "RevivoApp.h"

#include "RevivoDlg.h"

CRevivoApp theApp;

BOOL CRevivoApp::InitInstance()
{
    Enable3dControls();

    CRevivoDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // No message loop: the program ends with the dialog.
    return FALSE;
}
