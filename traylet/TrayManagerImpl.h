// The manager behind the TrayManager interface: one icon, one hidden window, one owner window.
#ifndef TRAYLET_TRAYMANAGERIMPL_H
#define TRAYLET_TRAYMANAGERIMPL_H

#include "TrayConstants.h"
#include "TrayManager.h"

#include <cstddef>
#include <new>

class TrayManagerImpl final : public TrayManager
{
public:
    TrayManagerImpl() = default;
    // A manager released without Shutdown is shut down here, so that no message reaches the
    // hidden window once the object is gone.
    ~TrayManagerImpl();
    TrayManagerImpl(const TrayManagerImpl&) = delete;
    TrayManagerImpl& operator=(const TrayManagerImpl&) = delete;

    // Managers live on the process heap: allocation failure answers null instead of throwing,
    // and the library needs nothing of the C++ runtime's exception support.
    static void* operator new(size_t cb, const std::nothrow_t&) noexcept;
    static void operator delete(void* p) noexcept;

    BOOL Init(HWND hOwnerWnd, HICON hIcon, LPCSTR pszTip, HMENU hMenu) override;
    BOOL Shutdown() override;
    BOOL ReCreateTrayIcon() override;
    HWND GetOwnerWnd() override;
    HMENU GetPopupMenu() override;

private:
    BOOL CreateTrayWindow();
    void AllowTaskbarCreated();
    BOOL AddTrayIcon();
    BOOL DeleteTrayIcon();
    BOOL ReplaceOwnerProc();
    void AppendOpenEntry();
    bool OwnsTrayWindow() const;

    HWND m_hOwnerWnd = nullptr;
    HWND m_hTrayWnd = nullptr;
    HICON m_hIcon = nullptr;      // borrowed from the client
    HMENU m_hPopupMenu = nullptr; // borrowed from the client
    char m_szTip[kTipSize] = {};
};

#endif
