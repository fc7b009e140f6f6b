// Names and numbers shared by the manager and the two window procedures.
#ifndef TRAYLET_TRAYCONSTANTS_H
#define TRAYLET_TRAYCONSTANTS_H

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

// The hidden window that receives the icon's notifications and the menu's commands.
constexpr const char kTrayWndClass[] = "BgTrayServerWnd";
constexpr const char kTrayWndTitle[] = "";

// Window properties: the manager on the hidden window, the previous procedure on the owner.
constexpr const char kTrayManagerProp[] = "TrayManagerObj";
constexpr const char kWndProcProp[] = "WNDPROC";
// The same previous procedure under a name only this library uses. While both agree,
// OwnerWndProc is still in the owner's chain, even below a procedure installed after it;
// "WNDPROC" alone may have been set by other code.
constexpr const char kOwnPrevProcProp[] = "TrayletPrevProc";

// The icon within the hidden window and the message its notifications arrive as.
constexpr UINT kTrayIconId = 1000;
constexpr UINT kTrayCallbackMessage = WM_USER + 600;

// Menu commands handled by the hidden window.
constexpr UINT kCmdOpenOwner = 9000;
constexpr UINT kCmdDestroyOwner = 9001;
constexpr const char kOpenOwnerText[] = "Open Quillory";

// The tip as stored (127 characters and terminator) and as shown by the first record version.
constexpr int kTipSize = 128;
constexpr int kShownTipSize = 64;

// The first version of each record, the one every Windows accepts.
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V1_SIZE;
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);

// The message a restarted taskbar broadcasts to every top-level window.
constexpr const char kTaskbarCreatedMessage[] = "TaskbarCreated";

constexpr const char kReCreateFailedText[] = "ReCreateTrayIcon() Failed !";

#endif
