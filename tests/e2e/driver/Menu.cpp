#include "Menu.h"

#include "Wait.h"
#include "Window.h"

namespace qs::e2e {

namespace {

constexpr char kMenuClass[] = "#32768";

struct MenuSearch
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<MenuSearch*>(param);
    if (!IsWindowVisible(hwnd) || ClassName(hwnd) != kMenuClass)
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (search->processId != 0 && owner != search->processId)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

} // namespace

HWND FindPopupMenu(DWORD processId)
{
    MenuSearch search{processId, nullptr};
    EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForPopupMenu(unsigned timeoutMs, DWORD processId)
{
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = FindPopupMenu(processId)) != nullptr; }, timeoutMs);
    return menu;
}

bool WaitForNoPopupMenu(unsigned timeoutMs, DWORD processId)
{
    return WaitUntil([&] { return FindPopupMenu(processId) == nullptr; }, timeoutMs);
}

HWND OpenContextMenu(HWND target, POINT at, unsigned timeoutMs)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    PostMessageA(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(at.x, at.y));
    return WaitForPopupMenu(timeoutMs, processId);
}

void ChooseMenuItem(HWND menu, int position)
{
    for (int i = 0; i <= position; ++i)
        PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RETURN);
}

void DismissMenu(HWND menu)
{
    PostKey(menu, VK_ESCAPE);
}

void CancelMenuMode(HWND owner)
{
    PostMessageA(owner, WM_CANCELMODE, 0, 0);
}

} // namespace qs::e2e
