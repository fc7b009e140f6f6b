// CDialog: a dialog from a template resource, run modally. Its controls are bound in
// DoDataExchange; OK, Cancel, Escape and the close box end it.
#pragma once

#include "CWnd.h"

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

    // Data members
protected:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    // Construction
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Operations
    // Runs the dialog until it ends; answers the value given to EndDialog, or -1 when the
    // dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Overridables
protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // Implementation
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The dialog procedure: binds the dialog to its object at WM_INITDIALOG; afterwards the
    // object's message map sees every message first.
    static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
