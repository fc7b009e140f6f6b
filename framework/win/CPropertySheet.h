// CPropertySheet: a modal property sheet over the common controls' PropertySheetA.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <vector>

#include "CWnd.h"

class CPropertyPage;

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)

    // Data members
public:
    PROPSHEETHEADERA m_psh; // callers may add flags before DoModal
private:
    std::vector<CPropertyPage*> m_pages; // borrowed: owned by the caller or a derived sheet
    CString m_strCaption;
    CWnd* m_pParentWnd;

    // Construction
public:
    CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Operations
    void AddPage(CPropertyPage* pPage);
    // Runs the sheet; answers what PropertySheetA answers (-1 on failure).
    virtual INT_PTR DoModal();
};
