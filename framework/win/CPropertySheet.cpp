#include "CPropertySheet.h"

#include "CPropertyPage.h"
#include "CommCtrlApi.h"
#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh(),
      m_pParentWnd(pParentWnd)
{
    AfxLoadString(nIDCaption, m_strCaption);
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    m_pages.push_back(pPage);
}

INT_PTR CPropertySheet::DoModal()
{
    std::vector<PROPSHEETPAGEA> psp(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        PROPSHEETPAGEA& page = psp[i];
        page.dwSize = sizeof(PROPSHEETPAGEA);
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = AfxFindResourceHandle(MAKEINTRESOURCEA(m_pages[i]->GetTemplateId()), RT_DIALOG);
        page.pszTemplate = MAKEINTRESOURCEA(m_pages[i]->GetTemplateId());
        page.pfnDlgProc = &CPropertyPage::AfxPageProc;
        page.lParam = reinterpret_cast<LPARAM>(m_pages[i]);
    }
    m_psh.dwFlags |= PSH_PROPSHEETPAGE;
    m_psh.hwndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = static_cast<UINT>(psp.size());
    if (m_psh.nStartPage >= m_psh.nPages)
        m_psh.nStartPage = 0;
    m_psh.ppsp = psp.data();
    const INT_PTR result = AfxPropertySheet(&m_psh);
    m_psh.ppsp = nullptr;
    return result;
}
