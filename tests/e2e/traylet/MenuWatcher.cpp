#include "MenuWatcher.h"

namespace {

constexpr UINT kGetMenuHandle = 0x01E1; // MN_GETHMENU

HWND FindOpenMenu()
{
    for (HWND hWnd = FindWindowExA(nullptr, nullptr, "#32768", nullptr); hWnd;
         hWnd = FindWindowExA(nullptr, hWnd, "#32768", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hWnd, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(hWnd))
            return hWnd;
    }
    return nullptr;
}

void PostKey(HWND hWnd, UINT vk)
{
    PostMessageA(hWnd, WM_KEYDOWN, vk, 1);
    PostMessageA(hWnd, WM_KEYUP, vk, 0xC0000001);
}

} // namespace

MenuWatcher::MenuWatcher(Action action, DWORD timeoutMs)
    : m_thread([this, action, timeoutMs] { Run(action, timeoutMs); })
{
}

void MenuWatcher::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void MenuWatcher::Run(Action action, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    HWND hMenuWnd = nullptr;
    while (!(hMenuWnd = FindOpenMenu())) {
        if (GetTickCount() - start >= timeoutMs)
            return;
        Sleep(10);
    }
    m_bSeen = true;
    m_hForeground = GetForegroundWindow();
    Sleep(50); // let the menu finish opening before it is given keys
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(hMenuWnd, kGetMenuHandle, 0, 0, SMTO_ABORTIFHUNG, 2000, &result))
        m_hMenu = reinterpret_cast<HMENU>(result);

    // Up from no selection selects the last entry; Return chooses it.
    if (action == Action::ChooseLast) {
        PostKey(hMenuWnd, VK_UP);
        PostKey(hMenuWnd, VK_RETURN);
    } else {
        PostKey(hMenuWnd, VK_ESCAPE);
    }
    // Never leave the test thread stuck in the menu's loop.
    for (int i = 0; i < 100 && FindOpenMenu(); ++i) {
        Sleep(20);
        if (i % 25 == 24)
            PostKey(hMenuWnd, VK_ESCAPE);
    }
}
