#include "TrayManagerImpl.h"

#include "Globals.h"
#include "WindowProcs.h"

#include <cstring>

namespace {

// OwnerWndProc is the owner's procedure, or lies below one installed after it.
bool OwnerProcInstalled(HWND hOwnerWnd)
{
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hOwnerWnd, GWLP_WNDPROC));
    if (current == OwnerWndProc)
        return true;
    const HANDLE hPrevProc = GetPropA(hOwnerWnd, kWndProcProp);
    return hPrevProc && hPrevProc == GetPropA(hOwnerWnd, kOwnPrevProcProp);
}

// The menu holds, directly, the entry an earlier Init appended: command 9000 with our text.
// The entry carries nothing else to know it by, as the client expects it.
bool HasOwnOpenEntry(HMENU hMenu)
{
    const int nItems = GetMenuItemCount(hMenu);
    for (int i = 0; i < nItems; ++i) {
        // One character more than our text, so that a longer text does not compare equal.
        char szText[sizeof(kOpenOwnerText) + 1] = {};
        MENUITEMINFOA mii = {};
        mii.cbSize = kMenuItemInfoSize;
        mii.fMask = MIIM_ID | MIIM_STRING;
        mii.dwTypeData = szText;
        mii.cch = sizeof(szText);
        if (GetMenuItemInfoA(hMenu, i, TRUE, &mii) && mii.wID == kCmdOpenOwner
            && std::strcmp(szText, kOpenOwnerText) == 0)
            return true;
    }
    return false;
}

} // namespace

void* TrayManagerImpl::operator new(size_t cb, const std::nothrow_t&) noexcept
{
    return HeapAlloc(GetProcessHeap(), 0, cb);
}

void TrayManagerImpl::operator delete(void* p) noexcept
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

TrayManagerImpl::~TrayManagerImpl()
{
    if (!OwnsTrayWindow())
        return;
    Shutdown();
    // Shutdown can only destroy the window on the thread that made it; elsewhere at least
    // detach the window from this object.
    if (OwnsTrayWindow())
        RemovePropA(m_hTrayWnd, kTrayManagerProp);
}

// Every step is attempted whatever failed before it; the result is the AND of the window,
// the message registration, the icon and the owner's procedure.
BOOL TrayManagerImpl::Init(HWND hOwnerWnd, HICON hIcon, LPCSTR pszTip, HMENU hMenu)
{
    m_hIcon = hIcon;
    lstrcpynA(m_szTip, pszTip ? pszTip : "", kTipSize);

    const BOOL bWindow = CreateTrayWindow();

    g_uTaskbarCreated = RegisterWindowMessageA(kTaskbarCreatedMessage);
    const BOOL bMessage = g_uTaskbarCreated != 0;
    AllowTaskbarCreated();

    const BOOL bIcon = m_hIcon && m_hTrayWnd ? AddTrayIcon() : FALSE;

    m_hPopupMenu = GetSubMenu(hMenu, 0);

    m_hOwnerWnd = hOwnerWnd;
    const BOOL bOwner = ReplaceOwnerProc();
    if (bOwner)
        AppendOpenEntry();

    return bWindow && bMessage && bIcon && bOwner;
}

// TRUE only when the icon was deleted, there is a menu, and the window was destroyed.
BOOL TrayManagerImpl::Shutdown()
{
    const BOOL bDeleted = DeleteTrayIcon();
    const BOOL bMenu = m_hPopupMenu != nullptr;
    // A handle of a window already destroyed may have been reused by another window.
    const BOOL bDestroyed = OwnsTrayWindow() && DestroyWindow(m_hTrayWnd);
    return bDeleted && bMenu && bDestroyed;
}

BOOL TrayManagerImpl::ReCreateTrayIcon()
{
    return AddTrayIcon();
}

HWND TrayManagerImpl::GetOwnerWnd()
{
    return m_hOwnerWnd;
}

HMENU TrayManagerImpl::GetPopupMenu()
{
    return m_hPopupMenu;
}

// Registers the class (or finds it registered by an earlier Init in this process) and makes
// the hidden window, which records this manager when it is created.
BOOL TrayManagerImpl::CreateTrayWindow()
{
    // A window of an earlier Init of this same manager would outlive it.
    if (OwnsTrayWindow()) {
        DeleteTrayIcon();
        DestroyWindow(m_hTrayWnd);
    }
    m_hTrayWnd = nullptr;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TrayWndProc;
    wc.hInstance = g_hInstance;
    wc.lpszClassName = kTrayWndClass;
    if (!RegisterClassExA(&wc)) {
        WNDCLASSEXA existing = {};
        existing.cbSize = sizeof(existing);
        const bool bOurs = GetLastError() == ERROR_CLASS_ALREADY_EXISTS
                           && GetClassInfoExA(g_hInstance, kTrayWndClass, &existing)
                           && existing.lpfnWndProc == TrayWndProc;
        if (!bOurs)
            return FALSE;
    }

    m_hTrayWnd = CreateWindowExA(0, kTrayWndClass, kTrayWndTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 g_hInstance, static_cast<TrayManager*>(this));
    return m_hTrayWnd != nullptr;
}

// The shell's "TaskbarCreated" broadcast comes from a process of lower integrity than an
// elevated client, and the system's message filter drops such messages: let that one through
// to the hidden window, or the icon never returns after the shell restarts. Looked up at run
// time (the per-window filter is newer than the per-process one, and systems before both have
// no filter at all); what the filter answers changes nothing else Init does.
void TrayManagerImpl::AllowTaskbarCreated()
{
    if (!m_hTrayWnd || g_uTaskbarCreated == 0)
        return;
    HMODULE hUser = GetModuleHandleA("user32.dll");
    if (!hUser)
        return;
    typedef BOOL(WINAPI * PFN_FILTER_WINDOW)(HWND, UINT, DWORD, void*);
    typedef BOOL(WINAPI * PFN_FILTER_PROCESS)(UINT, DWORD);
    const DWORD kAllow = 1; // MSGFLT_ALLOW, and MSGFLT_ADD for the per-process filter
    if (auto pfnWindow = reinterpret_cast<PFN_FILTER_WINDOW>(
            reinterpret_cast<void*>(GetProcAddress(hUser, "ChangeWindowMessageFilterEx")))) {
        pfnWindow(m_hTrayWnd, g_uTaskbarCreated, kAllow, nullptr);
        return;
    }
    if (auto pfnProcess = reinterpret_cast<PFN_FILTER_PROCESS>(
            reinterpret_cast<void*>(GetProcAddress(hUser, "ChangeWindowMessageFilter"))))
        pfnProcess(g_uTaskbarCreated, kAllow);
}

// The add request. The icon handle is not tested: after a shell restart the icon is added
// with whatever Init was given.
BOOL TrayManagerImpl::AddTrayIcon()
{
    if (!OwnsTrayWindow())
        return FALSE;
    NOTIFYICONDATAA nid = {};
    nid.cbSize = kNotifyIconDataSize;
    nid.hWnd = m_hTrayWnd;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayCallbackMessage;
    nid.hIcon = m_hIcon;
    lstrcpynA(nid.szTip, m_szTip, kShownTipSize);
    return Shell_NotifyIconA(NIM_ADD, &nid);
}

BOOL TrayManagerImpl::DeleteTrayIcon()
{
    if (!OwnsTrayWindow())
        return FALSE;
    NOTIFYICONDATAA nid = {};
    nid.cbSize = kNotifyIconDataSize;
    nid.hWnd = m_hTrayWnd;
    nid.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_DELETE, &nid);
}

// Installs OwnerWndProc and keeps the procedure it replaces in the property "WNDPROC".
BOOL TrayManagerImpl::ReplaceOwnerProc()
{
    // Already installed by an earlier Init in this process: replacing again would make
    // OwnerWndProc (or a procedure that calls it) its own previous procedure. A "WNDPROC"
    // property that other code set does not count.
    if (m_hOwnerWnd && OwnerProcInstalled(m_hOwnerWnd))
        return TRUE;

    const LONG_PTR prevProc =
        SetWindowLongPtrA(m_hOwnerWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerWndProc));
    if (!prevProc)
        return FALSE;
    const auto hPrevProc = reinterpret_cast<HANDLE>(prevProc);
    // Other code may keep a value under the same name; it gets it back if we fail half-way.
    const HANDLE hEarlier = GetPropA(m_hOwnerWnd, kWndProcProp);
    if (SetPropA(m_hOwnerWnd, kWndProcProp, hPrevProc)) {
        // Without this copy a second Init under a procedure installed later would chain
        // OwnerWndProc to itself, so it is needed as much as "WNDPROC".
        if (SetPropA(m_hOwnerWnd, kOwnPrevProcProp, hPrevProc))
            return TRUE;
        if (hEarlier)
            SetPropA(m_hOwnerWnd, kWndProcProp, hEarlier);
        else
            RemovePropA(m_hOwnerWnd, kWndProcProp);
    }
    // Without both properties OwnerWndProc cannot pass on, or a second Init cannot see it: put
    // the window back.
    SetWindowLongPtrA(m_hOwnerWnd, GWLP_WNDPROC, prevProc);
    return FALSE;
}

// Appends "Open Quillory" at the end of the context menu, once: only an entry with both our
// command and our text keeps it out, so a client's own command 9000 does not.
void TrayManagerImpl::AppendOpenEntry()
{
    if (HasOwnOpenEntry(m_hPopupMenu))
        return;
    MENUITEMINFOA mii = {};
    mii.cbSize = kMenuItemInfoSize;
    mii.fMask = MIIM_ID | MIIM_STRING;
    mii.wID = kCmdOpenOwner;
    mii.dwTypeData = const_cast<LPSTR>(kOpenOwnerText);
    InsertMenuItemA(m_hPopupMenu, GetMenuItemCount(m_hPopupMenu), TRUE, &mii);
}

// The stored handle still names the hidden window of this manager (it is destroyed by
// Shutdown, and a destroyed window's handle may later name another window).
bool TrayManagerImpl::OwnsTrayWindow() const
{
    return m_hTrayWnd && GetPropA(m_hTrayWnd, kTrayManagerProp) == static_cast<const TrayManager*>(this);
}
