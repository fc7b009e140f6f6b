// The test host: Traylet.dll loaded by name as its client loads it, an owner window that
// records what reaches its own procedure, a client menu, and ways to look at the hidden window,
// the icon and the debugger output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TrayManager.h"

// Loaded once per process and kept, as the client keeps it.
struct TrayletLibrary
{
    HMODULE hModule = nullptr;
    PFN_CREATETRAYMANAGER pfnCreate = nullptr;
    PFN_DESTROYTRAYMANAGER pfnDestroy = nullptr;

    static const TrayletLibrary& Get();
};

struct RecordedMessage
{
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;
};

// A visible top-level window whose procedure records every message. It answers WM_CLOSE with 0
// without closing, so a close request that gets through stays visible in the record.
class TestOwner
{
public:
    static constexpr UINT kPing = WM_APP + 1;
    static constexpr LRESULT kPingAnswer = 42;

    TestOwner();
    ~TestOwner();
    TestOwner(const TestOwner&) = delete;
    TestOwner& operator=(const TestOwner&) = delete;

    HWND Wnd() const { return m_hWnd; }
    WNDPROC OwnProc() const;
    int Count(UINT uMsg) const;
    const std::vector<RecordedMessage>& Messages() const { return m_messages; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    std::vector<RecordedMessage> m_messages;
};

// The client's menu: a bar whose entry at position 0 is the context submenu with a command of
// the client's and 9001, or, without a submenu, a single plain entry.
class TestMenu
{
public:
    static constexpr UINT kCmdClient = 1234;

    explicit TestMenu(bool bWithSubmenu = true);
    ~TestMenu() { DestroyMenu(m_hMenu); }
    TestMenu(const TestMenu&) = delete;
    TestMenu& operator=(const TestMenu&) = delete;

    HMENU Menu() const { return m_hMenu; }
    HMENU Submenu() const { return GetSubMenu(m_hMenu, 0); }

private:
    HMENU m_hMenu = nullptr;
};

// An icon the test makes itself: a stock icon is not available everywhere the tests run
// (Wine's WoW64 mode answers LoadIcon(NULL, IDI_APPLICATION) with NULL).
class TestIcon
{
public:
    TestIcon();
    ~TestIcon() { DestroyIcon(m_hIcon); }
    TestIcon(const TestIcon&) = delete;
    TestIcon& operator=(const TestIcon&) = delete;

    HICON Get() const { return m_hIcon; }

private:
    HICON m_hIcon = nullptr;
};

// Collects what the process sends to the debugger output while it lives.
class DebugOutputCapture
{
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    bool Contains(const std::string& text) const;

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* pInfo);
    PVOID m_hHandler = nullptr;
};

// Dispatches this thread's messages for up to timeoutMs, or until done() holds.
template <typename Done> bool PumpUntil(Done done, DWORD timeoutMs = 3000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
}
void PumpFor(DWORD ms);

// The "BgTrayServerWnd" windows of this thread.
std::vector<HWND> TrayWindows();
// Whether the shell knows the icon 1000 of hTrayWnd (asked through a change that changes nothing).
bool IconShown(HWND hTrayWnd);
UINT TaskbarCreatedMessage();
// How often command id occurs in hMenu, and the text of its last such entry.
int CountCommand(HMENU hMenu, UINT id);
std::string LastItemText(HMENU hMenu);
