#include "HLinkPage.h"

#include "HLinkCtrl.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CHLinkPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CHLinkPage, CPropertyPage)
END_MESSAGE_MAP()

CHLinkPage::CHLinkPage()
    : CPropertyPage(IDD_HLINK_GENERAL),
      m_pLink(nullptr)
{
}

BOOL CHLinkPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();

    // A page made without a link (created by name) shows empty boxes.
    if (m_pLink) {
        CString strText;
        m_pLink->GetWindowText(strText);
        SetDlgItemText(IDC_HLINK_NAME, strText);
        SetDlgItemText(IDC_HLINK_URL, m_pLink->GetLinkURL());
    }
    // The system sets the initial focus.
    return TRUE;
}

// The page exchanges no data: its boxes are read-only.
void CHLinkPage::DoDataExchange(CDataExchange*)
{
}
