#include "CommCtrlApi.h"

#include "SystemLibrary.h"

namespace {

// Made at the first use, on the program's one thread, and kept for the process's life: windows
// of its classes may live until the program ends. (No function-local static: its thread-safe
// guard would bring the C++ run-time's threads and exceptions into the program.)
CSystemLibrary* g_pCommonControls = nullptr;

CSystemLibrary& CommonControls()
{
    if (!g_pCommonControls)
        g_pCommonControls = new CSystemLibrary("comctl32.dll");
    return *g_pCommonControls;
}

// The function pszName as PFN; NULL with the last error set when it cannot be had.
template <class PFN> PFN Find(const char* pszName)
{
    // A load that failed before is not tried again, and sets no error then.
    ::SetLastError(ERROR_SUCCESS);
    CSystemLibrary& library = CommonControls();
    if (!library.GetModule()) {
        if (::GetLastError() == ERROR_SUCCESS)
            ::SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return library.GetProc<PFN>(pszName);
}

} // namespace

BOOL AfxInitCommonControls()
{
    const auto pfn = Find<decltype(&::InitCommonControls)>("InitCommonControls");
    if (!pfn)
        return FALSE;
    pfn();
    return TRUE;
}

INT_PTR AfxPropertySheet(LPCPROPSHEETHEADERA pHeader)
{
    const auto pfn = Find<decltype(&::PropertySheetA)>("PropertySheetA");
    return pfn ? pfn(pHeader) : -1;
}
