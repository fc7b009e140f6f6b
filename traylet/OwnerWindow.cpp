// The procedure installed on the client's owner window: closing it only hides it.
#include "TrayConstants.h"
#include "WindowProcs.h"

LRESULT CALLBACK OwnerWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const auto prevProc = reinterpret_cast<WNDPROC>(GetPropA(hWnd, kWndProcProp));

    if (uMsg == WM_CLOSE) {
        ShowWindow(hWnd, SW_HIDE);
        return 0;
    }
    if (uMsg == WM_NCDESTROY) {
        RemovePropA(hWnd, kWndProcProp);
        RemovePropA(hWnd, kOwnPrevProcProp);
    }

    if (!prevProc)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return CallWindowProcA(prevProc, hWnd, uMsg, wParam, lParam);
}
