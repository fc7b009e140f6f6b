// Traylet's client interface.
//
// A client obtains one TrayManager from CreateTrayManager, calls Init once on the thread that
// owns its main window and runs that window's message loop, calls Shutdown when it is done
// with the icon, and releases the manager with DestroyTrayManager. The library borrows the
// window, icon and menu handles it is given and never destroys them.
//
// Lifetime: Init puts the library's window procedure on the owner window, and Shutdown leaves
// it there (close keeps meaning hide). Keep Traylet.dll loaded until the owner window has been
// destroyed: unloading it earlier leaves the window calling into freed code, and the next
// message to it crashes the client.
#ifndef TRAYLET_TRAYMANAGER_H
#define TRAYLET_TRAYMANAGER_H

#include <windows.h>

// The order of these five slots is what clients are built against: never reorder them, and
// never add a virtual destructor (the object is released only through DestroyTrayManager).
struct TrayManager
{
    // Shows the icon, makes the owner window hide on close and appends "Open Quillory" to
    // the submenu at position 0 of hMenu. pszTip may be null. TRUE when every step worked.
    virtual BOOL Init(HWND hOwnerWnd, HICON hIcon, LPCSTR pszTip, HMENU hMenu) = 0;
    // Deletes the icon and destroys the hidden window.
    virtual BOOL Shutdown() = 0;
    // Adds the icon again, after the shell has restarted. Non-zero on success.
    virtual BOOL ReCreateTrayIcon() = 0;
    virtual HWND GetOwnerWnd() = 0;
    virtual HMENU GetPopupMenu() = 0;
};

// The two exports use the C calling convention: their names stay plain on every target, and a
// client that declares them without a convention keyword calls them correctly.
extern "C" {
// Stores a new manager in *ppManager and answers TRUE; FALSE for a null ppManager, or when no
// memory was left (then null is stored).
BOOL __cdecl CreateTrayManager(TrayManager** ppManager);
// Releases *ppManager (a manager not shut down is shut down first); *ppManager is left as it
// is. FALSE for a null ppManager.
BOOL __cdecl DestroyTrayManager(TrayManager** ppManager);
}

// For clients that load "Traylet.dll" at run time.
typedef BOOL(__cdecl* PFN_CREATETRAYMANAGER)(TrayManager** ppManager);
typedef BOOL(__cdecl* PFN_DESTROYTRAYMANAGER)(TrayManager** ppManager);

#endif
