// CRevivoDlg: the dialog whose initialisation re-imports the registry file that fits the
// screen width, starts Quillory and then ends the dialog before it is shown.
#pragma once

#include "Framework.h"

class CRevivoDlg : public CDialog
{
    // Data members
protected:
    HICON m_hIcon;         // shared icon resource: not destroyed
    bool m_bEnded = false; // the dialog has ended inside its initialisation

    // Construction
public:
    explicit CRevivoDlg(CWnd* pParent = nullptr);

    // Message map and handlers
protected:
    BOOL OnInitDialog() override;
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
