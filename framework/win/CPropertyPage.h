// CPropertyPage: one page of a property sheet, built on a child dialog template.
#pragma once

#include <windows.h>
#include <prsht.h>

#include "CDialog.h"

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)

public:
    explicit CPropertyPage(UINT nIDTemplate = 0);

    UINT GetTemplateId() const { return m_nIDTemplate; }

    // Implementation
    // The page's dialog procedure: binds the page to its object at WM_INITDIALOG.
    static INT_PTR CALLBACK AfxPageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
