// Watches, from a thread of its own, for a context menu of this process to open, notes which
// menu it shows, and closes it (a menu runs its own modal loop on the thread that opened it).
#pragma once

#include <windows.h>

#include <thread>

class MenuWatcher
{
public:
    enum class Action { Cancel, ChooseLast };

    MenuWatcher(Action action, DWORD timeoutMs);
    ~MenuWatcher() { Join(); }
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;

    // Waits for the watch to end: the menu has closed, or none opened within the timeout.
    void Join();
    bool Seen() const { return m_bSeen; }
    HMENU Menu() const { return m_hMenu; }
    // The foreground window while the menu was open.
    HWND Foreground() const { return m_hForeground; }

private:
    void Run(Action action, DWORD timeoutMs);

    bool m_bSeen = false;
    HMENU m_hMenu = nullptr;
    HWND m_hForeground = nullptr;
    std::thread m_thread;
};
