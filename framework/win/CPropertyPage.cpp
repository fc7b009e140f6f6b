#include "CPropertyPage.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate)
    : CDialog(nIDTemplate)
{
}

INT_PTR CALLBACK CPropertyPage::AfxPageProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    const PROPSHEETPAGEA* pPsp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    CPropertyPage* pPage = pPsp ? reinterpret_cast<CPropertyPage*>(pPsp->lParam) : nullptr;
    if (!pPage || !pPage->SubclassWindow(hWnd))
        return TRUE;
    pPage->m_currentMsg.hwnd = hWnd;
    pPage->m_currentMsg.message = message;
    return pPage->OnInitDialog();
}
