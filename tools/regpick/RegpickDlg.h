// CRegpickDlg: the invisible dialog whose initialisation imports the registry file that
// fits the screen width and then ends the dialog.
#pragma once

#include "Framework.h"

class CRegpickDlg : public CDialog
{
    // Data members
protected:
    HICON m_hIcon; // shared icon resource: not destroyed

    // Construction
public:
    explicit CRegpickDlg(CWnd* pParent = nullptr);

    // Implementation
protected:
    BOOL OnInitDialog() override;
};
