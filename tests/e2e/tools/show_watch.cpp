// The show watch: a WH_CALLWNDPROC hook that the tests put on a tool's main thread. It
// records when the dialog starts its initialisation, the icons it takes (with their sizes), whether any
// top-level window of the thread becomes visible, and when the dialog goes.
// When the test names a user's own Windows folder, the watch also makes the tool's
// GetWindowsDirectoryA answer that folder, as a Remote Desktop session host does for a
// program that keeps the system's per-user compatibility.
#include <memory>
#include <string>

#include <windows.h>

#include "ImportPatch.h"
#include "RunRecords.h"

namespace {

using qs::e2e::tools::AppendRecord;
using qs::e2e::tools::kUserWindowsVariable;
using qs::e2e::tools::kWatchLogVariable;
using qs::e2e::tools::NowMs;

bool g_shownRecorded = false;
bool g_redirectTried = false;
char g_userWindows[MAX_PATH] = {};
std::unique_ptr<ImportPatch> g_redirect; // lives as long as the tool

UINT WINAPI UserWindowsDirectoryA(LPSTR buffer, UINT size)
{
    const UINT length = lstrlenA(g_userWindows);
    if (!buffer || size <= length)
        return length + 1;
    lstrcpyA(buffer, g_userWindows);
    return length;
}

// Put in place on the first message the hook sees, before the tool's dialog exists.
void RedirectWindowsDirectory()
{
    if (g_redirectTried)
        return;
    g_redirectTried = true;
    const DWORD n = GetEnvironmentVariableA(kUserWindowsVariable, g_userWindows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    g_redirect =
        std::make_unique<ImportPatch>(GetModuleHandleA(nullptr), "kernel32.dll", "GetWindowsDirectoryA",
                                      reinterpret_cast<void*>(UserWindowsDirectoryA));
}

bool IsTopLevel(HWND hwnd)
{
    return GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow();
}

// "WIDTHxHEIGHT" of an icon of this process.
std::string IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return "?";
    BITMAP bm = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    // A mask without colour holds the AND and XOR halves one above the other.
    const int height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return std::to_string(bm.bmWidth) + "x" + std::to_string(height);
}

void Record(const std::string& what)
{
    AppendRecord(kWatchLogVariable, std::to_string(static_cast<long long>(NowMs())) + " " + what);
}

void Watch(const CWPSTRUCT& call)
{
    RedirectWindowsDirectory();
    if (!IsTopLevel(call.hwnd))
        return;
    switch (call.message) {
    case WM_INITDIALOG:
        Record("init");
        break;
    case WM_SETICON:
        if (call.lParam)
            Record(std::string(call.wParam == ICON_BIG ? "icon big " : "icon small ")
                   + IconSize(reinterpret_cast<HICON>(call.lParam)));
        break;
    case WM_DESTROY:
        Record("destroyed");
        break;
    default:
        break;
    }
    // Visible now, or about to be made so.
    bool shown = IsWindowVisible(call.hwnd) != FALSE;
    if (call.message == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(call.lParam);
        shown = shown || (pos && (pos->flags & SWP_SHOWWINDOW));
    }
    if (shown && !g_shownRecorded) {
        g_shownRecorded = true;
        char title[128] = {};
        GetWindowTextA(call.hwnd, title, sizeof title);
        Record(std::string("shown ") + title);
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ToolsShowWatchProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && lParam)
        Watch(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
