#include "CException.h"

#include "CWinApp.h"
#include "CWnd.h"

int CException::ReportError(UINT nType) const
{
    return AfxMessageBox(GetErrorMessage(), nType);
}

int AfxMessageBox(const char* lpszText, UINT nType)
{
    CWinApp* pApp = AfxGetApp();
    HWND hOwner = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(hOwner, lpszText, AfxGetAppName(), nType);
}
