// CHLinkSheet: the property sheet of a link, with its one page held by value.
#pragma once

#include "Framework.h"
#include "HLinkPage.h"

class CHLinkSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CHLinkSheet)

    // Data members
public:
    CHLinkPage m_pageGeneral;

    // Construction
public:
    CHLinkSheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    DECLARE_MESSAGE_MAP()
};
