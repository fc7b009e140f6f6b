// The framework's exception: thrown only by framework classes (the Internet classes), caught
// by the window procedure, which shows the standard error box.
#pragma once

#include <windows.h>

#include "CString.h"

class CException
{
public:
    virtual ~CException() = default;
    // The system's description of the failure.
    virtual CString GetErrorMessage() const = 0;
    // The standard error box: the description, the application's name as caption.
    int ReportError(UINT nType = MB_OK | MB_ICONSTOP) const;
};

// Shows a message box captioned with the application's name, owned by the main window.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK);
