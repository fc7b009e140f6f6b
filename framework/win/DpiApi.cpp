#include "DpiApi.h"

namespace {

// The 52 letters whose average width is a dialog's horizontal base unit.
const char kBaseUnitLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);
typedef int(WINAPI* GetSystemMetricsForDpiFn)(int, UINT);
typedef BOOL(WINAPI* SetDialogDpiChangeBehaviorFn)(HWND, int, int);

// Windows 10 1703's DDC_DISABLE_ALL (no re-layout, no resize, no new fonts).
const int kDialogDpiChangeDisableAll = 0x0001;

// A function of user32 (always loaded: the program imports it) as a pointer of type PFN; NULL
// where this Windows has none of that name.
template <class PFN> PFN User32Procedure(const char* pszName)
{
    HMODULE hUser = ::GetModuleHandleA("user32.dll");
    return hUser ? reinterpret_cast<PFN>(reinterpret_cast<void*>(::GetProcAddress(hUser, pszName))) : nullptr;
}

int SystemDpi()
{
    HDC hDC = ::GetDC(nullptr);
    if (!hDC)
        return kDefaultDpi;
    const int nDpi = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(nullptr, hDC);
    return nDpi > 0 ? nDpi : kDefaultDpi;
}

} // namespace

int AfxGetWindowDpi(HWND hWnd)
{
    const auto pfnGetDpiForWindow = User32Procedure<GetDpiForWindowFn>("GetDpiForWindow");
    if (pfnGetDpiForWindow && hWnd) {
        if (const UINT nDpi = pfnGetDpiForWindow(hWnd))
            return static_cast<int>(nDpi);
    }
    return SystemDpi();
}

int AfxGetSystemMetricForDpi(int nIndex, int nDpi)
{
    const auto pfnMetricsForDpi = User32Procedure<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (pfnMetricsForDpi)
        return pfnMetricsForDpi(nIndex, static_cast<UINT>(nDpi));
    return ScaleToDpi(::GetSystemMetrics(nIndex), SystemDpi(), nDpi);
}

DialogBaseUnits AfxGetFontBaseUnits(HFONT hFont)
{
    DialogBaseUnits units = {0, 0};
    HDC hDC = ::GetDC(nullptr);
    if (!hDC)
        return units;
    HGDIOBJ hOld = ::SelectObject(hDC, hFont ? hFont : ::GetStockObject(SYSTEM_FONT));
    SIZE size = {};
    TEXTMETRICA tm = {};
    if (::GetTextExtentPoint32A(hDC, kBaseUnitLetters, sizeof(kBaseUnitLetters) - 1, &size)
        && ::GetTextMetricsA(hDC, &tm))
        units = BaseUnitsOfFont(size.cx, tm.tmHeight);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    return units;
}

void AfxKeepDialogLayoutToItself(HWND hDlg)
{
    const auto pfnSetBehavior = User32Procedure<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (pfnSetBehavior)
        pfnSetBehavior(hDlg, kDialogDpiChangeDisableAll, kDialogDpiChangeDisableAll);
}
