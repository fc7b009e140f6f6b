// Data exchange between a dialog and its controls.
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate),
          m_pDlgWnd(pDlgWnd)
    {
    }

    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;
};

// Binds a member object to the dialog's control nIDC by subclassing it, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
