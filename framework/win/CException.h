// The framework's failure report: what a framework class (the Internet classes) answers when
// an operation fails, with the system's description and the standard error box to show it.
// Nothing in the framework throws; a failure travels back as a result.
#pragma once

#include <windows.h>

#include "CString.h"

class CException
{
public:
    virtual ~CException() = default;
    // The system's description of the failure.
    virtual CString GetErrorMessage() const = 0;
    // The standard error box: the description, the application's name as caption, owned by
    // the main window.
    int ReportError(UINT nType = MB_OK | MB_ICONSTOP) const;
};

// Shows a message box captioned with the application's name, owned by the main window.
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK);
