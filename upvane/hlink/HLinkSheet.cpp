#include "HLinkSheet.h"

IMPLEMENT_DYNAMIC(CHLinkSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CHLinkSheet, CPropertySheet)
END_MESSAGE_MAP()

CHLinkSheet::CHLinkSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
    AddPage(&m_pageGeneral);
}
