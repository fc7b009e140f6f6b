// The framework's exception: thrown only by framework classes (the Internet classes), caught
// where a procedure returns to Windows, which shows the standard error box.
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

// Reports the exception being handled in the standard error box: a CException with its own
// description, a failed allocation with the system's text for lack of memory, anything else
// with a general text. Call only inside a catch block. Every place where a window, dialog or
// property-page procedure returns to Windows catches everything and reports it this way, so
// that no exception unwinds through system code and the program goes on.
void AfxReportCurrentException() noexcept;
