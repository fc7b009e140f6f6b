#include "CException.h"

#include <new>

#include "CWinApp.h"
#include "CWnd.h"

namespace {

const UINT kErrorBoxType = MB_OK | MB_ICONSTOP;
// Shown for a failure the framework has no description of.
const char kUnexpectedFailureText[] = "An unexpected error stopped the last operation.";

// The system's text for a Win32 error code; `fallback` when it has none. Unused where the
// framework is built without exceptions.
[[maybe_unused]] CString SystemErrorText(DWORD dwError, const char* fallback)
{
    char* pszText = nullptr;
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                         | FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, dwError, 0, reinterpret_cast<char*>(&pszText), 0, nullptr);
    CString text(n && pszText ? pszText : fallback);
    if (pszText)
        ::LocalFree(pszText);
    text.TrimRight();
    return text;
}

} // namespace

int CException::ReportError(UINT nType) const
{
    return AfxMessageBox(GetErrorMessage(), nType);
}

int AfxMessageBox(const char* lpszText, UINT nType)
{
    CWinApp* pApp = AfxGetApp();
    HWND hOwner = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(hOwner, lpszText, AfxGetAppName(), nType);
}

void AfxReportCurrentException() noexcept
{
#if defined(__cpp_exceptions)
    try {
        try {
            throw;
        } catch (const CException& e) {
            e.ReportError(kErrorBoxType);
        } catch (const std::bad_alloc&) {
            AfxMessageBox(SystemErrorText(ERROR_NOT_ENOUGH_MEMORY, kUnexpectedFailureText), kErrorBoxType);
        } catch (...) {
            AfxMessageBox(kUnexpectedFailureText, kErrorBoxType);
        }
    } catch (...) {
        // Even the report failed (no memory left for its text): nothing more can be said.
    }
#endif
}
