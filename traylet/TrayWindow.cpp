// The hidden window: the icon's mouse notifications, the context menu's commands and the
// shell's "TaskbarCreated" broadcast all arrive here.
#include "Globals.h"
#include "TrayConstants.h"
#include "TrayManager.h"
#include "WindowProcs.h"

namespace {

LRESULT OnCreate(HWND hWnd, LPARAM lParam)
{
    const auto* pCreate = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    // Answering -1 makes CreateWindowExA fail: a window without its manager is of no use.
    return SetPropA(hWnd, kTrayManagerProp, pCreate->lpCreateParams) ? 0 : -1;
}

LRESULT OnTaskbarCreated(TrayManager* pManager)
{
    if (!pManager->ReCreateTrayIcon())
        OutputDebugStringA(kReCreateFailedText);
    return 0;
}

LRESULT OnCommand(TrayManager* pManager, WPARAM wParam, LPARAM lParam)
{
    // Only menu commands count: accelerators and control notifications are ignored.
    if (HIWORD(wParam) != 0 || lParam != 0)
        return 0;
    HWND hOwnerWnd = pManager->GetOwnerWnd();
    switch (LOWORD(wParam)) {
    case kCmdOpenOwner:
        ShowWindow(hOwnerWnd, SW_SHOW);
        break;
    case kCmdDestroyOwner:
        DestroyWindow(hOwnerWnd);
        break;
    default:
        SendMessageA(hOwnerWnd, WM_COMMAND, wParam, 0);
        break;
    }
    return 0;
}

// The context menu opens on the release of the right button, at the cursor. The hidden window
// becomes the foreground window so that the menu closes when the user clicks elsewhere, and
// the WM_NULL afterwards lets the menu's last input settle.
void ShowContextMenu(HWND hWnd, TrayManager* pManager)
{
    POINT pt = {};
    GetCursorPos(&pt);
    SetForegroundWindow(hWnd);
    TrackPopupMenu(pManager->GetPopupMenu(), TPM_BOTTOMALIGN, pt.x, pt.y, 0, hWnd, nullptr);
    PostMessageA(hWnd, WM_NULL, 0, 0);
}

LRESULT OnTrayNotify(HWND hWnd, TrayManager* pManager, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (lParam) {
    case WM_LBUTTONDOWN:
        ShowWindow(pManager->GetOwnerWnd(), SW_SHOW);
        return 0;
    case WM_RBUTTONUP:
        ShowContextMenu(hWnd, pManager);
        return 0;
    default:
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK TrayWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE)
        return OnCreate(hWnd, lParam);

    auto* pManager = static_cast<TrayManager*>(GetPropA(hWnd, kTrayManagerProp));
    if (!pManager)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);

    // Until the message is registered its id is 0, which is WM_NULL.
    if (g_uTaskbarCreated != 0 && uMsg == g_uTaskbarCreated)
        return OnTaskbarCreated(pManager);
    if (uMsg == WM_NCDESTROY) {
        RemovePropA(hWnd, kTrayManagerProp);
        return 0;
    }
    if (uMsg == WM_COMMAND)
        return OnCommand(pManager, wParam, lParam);
    if (uMsg == kTrayCallbackMessage && wParam == kTrayIconId)
        return OnTrayNotify(hWnd, pManager, uMsg, wParam, lParam);
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
