// CHLinkPage: the one page ("General") of a link's property sheet: the link's text and its
// target, read-only. Nothing is ever written back to the link.
#pragma once

#include "Framework.h"

class CHLinkCtrl;

class CHLinkPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CHLinkPage)

    // Data members
public:
    CHLinkCtrl* m_pLink; // the link shown; borrowed, it outlives the modal sheet

    // Construction
public:
    CHLinkPage();

    // Overridables
protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
