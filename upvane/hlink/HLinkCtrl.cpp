#include "HLinkCtrl.h"

#include <intshcut.h>
#include <shellapi.h>
#include <shlobj.h>

#include "ClipboardText.h"
#include "ComRef.h"
#include "HLinkSheet.h"
#include "LinkAccessible.h"
#include "ShellItemList.h"
#include "ShortcutPath.h"
#include "resource.h"

namespace {

const char kOpenVerb[] = "open";

LinkRect ToLinkRect(const RECT& rc)
{
    return {rc.left, rc.top, rc.right, rc.bottom};
}

bool IsHighContrastOn()
{
    HIGHCONTRASTA hc = {};
    hc.cbSize = sizeof(hc);
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0)
           && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

// The system's pointing hand; the program's own cursor 130 where the system has none.
HCURSOR LoadLinkCursor()
{
    HCURSOR hCursor = ::LoadCursorA(nullptr, IDC_HAND);
    if (hCursor)
        return hCursor;
    LPCSTR lpszName = MAKEINTRESOURCEA(IDC_HLINK_HAND);
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_GROUP_CURSOR);
    return ::LoadCursorA(hInst, lpszName);
}

} // namespace

BEGIN_MESSAGE_MAP(CHLinkCtrl, CStatic)
    ON_WM_CONTEXTMENU()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_COMMAND(ID_HLINK_COPYSHORTCUT, OnLinkCopyShortcut)
    ON_COMMAND(ID_HLINK_PROPERTIES, OnLinkProperties)
    ON_WM_CTLCOLOR_REFLECT()
    ON_COMMAND(ID_HLINK_OPEN, OnLinkOpen)
    ON_COMMAND(ID_HLINK_ADDTOFAVORITES, OnLinkAddToFavorites)
    ON_COMMAND(ID_HLINK_ADDTODESKTOP, OnLinkAddToDesktop)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_SETFOCUS, OnFocusChange)
    ON_MESSAGE(WM_KILLFOCUS, OnFocusChange)
    ON_MESSAGE(WM_UPDATEUISTATE, OnUpdateUIState)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
    ON_MESSAGE(WM_SETFONT, OnSetFont)
END_MESSAGE_MAP()

// Construction

CHLinkCtrl::CHLinkCtrl()
    : m_hLinkCursor(LoadLinkCursor()),
      m_crNormal(kLinkNormalColor),
      m_crVisited(kLinkVisitedColor),
      m_crHover(kLinkHoverColor),
      m_bTrackHover(TRUE),
      m_bInMenu(FALSE),
      m_bContextMenu(TRUE),
      m_pAccessible(nullptr),
      m_dwAddedOnAttach(0)
{
}

// m_fontLink deletes its font, then the target is freed and the static goes.
CHLinkCtrl::~CHLinkCtrl()
{
    ReleaseAccessible();
    // A static that outlives its link must not keep drawing with the font deleted here.
    if (m_hWnd && m_fontLink.GetSafeHandle() && GetFont() == m_fontLink.GetSafeHandle())
        SendMessage(WM_SETFONT, 0, FALSE);
}

// Operations

void CHLinkCtrl::SetLinkURL(const CString& strURL)
{
    m_strURL = strURL;
}

CString CHLinkCtrl::GetLinkURL() const
{
    return m_strURL;
}

// Colour request

HBRUSH CHLinkCtrl::CtlColor(CDC* pDC, UINT)
{
    // A static without SS_NOTIFY gets no mouse input: the link gives itself the bit as soon
    // as it is painted.
    const DWORD dwStyle = GetStyle();
    if (LinkStyleLacksNotify(dwStyle))
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(LinkStyleWithNotify(dwStyle)));

    if (!LinkStyleDrawsAsLink(dwStyle, m_dwAddedOnAttach))
        return nullptr;

    if (!m_fontLink.GetSafeHandle())
        CreateLinkFont();
    if (m_fontLink.GetSafeHandle())
        pDC->SelectObject(&m_fontLink);
    pDC->SetTextColor(GetTextColor());
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

COLORREF CHLinkCtrl::GetTextColor() const
{
    LinkColors colors;
    colors.crNormal = m_crNormal;
    colors.crVisited = m_crVisited;
    colors.crHover = m_crHover;
    colors.crHotLight = ::GetSysColor(COLOR_HOTLIGHT);
    // Read at every paint: a change of the setting shows at the next repaint.
    return LinkTextColor(IsHighContrastOn(), m_state.m_nState, colors);
}

void CHLinkCtrl::CreateLinkFont()
{
    // A static that was never given a font draws with its dialog's font; failing that, the
    // default GUI font stands in.
    HFONT hFont = GetFont();
    if (!hFont) {
        if (HWND hParent = GetParentHwnd())
            hFont = reinterpret_cast<HFONT>(::SendMessageA(hParent, WM_GETFONT, 0, 0));
    }
    if (!hFont)
        hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));

    LOGFONTA lf = {};
    if (!::GetObjectA(hFont, sizeof(lf), &lf))
        return;
    lf.lfUnderline = TRUE;
    if (!m_fontLink.CreateFontIndirect(&lf))
        return;
    // Some statics (Wine's) select their own font after asking for colours, which would undo
    // the selection in the colour request: the static gets the underlined font as its own too.
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink.GetSafeHandle()), FALSE);
}

LRESULT CHLinkCtrl::OnSetFont(WPARAM wParam, LPARAM)
{
    // A font from outside (the dialog's, made again after a move to a monitor of another
    // scale) replaces the underlined one: the next paint underlines a copy of the new font, so
    // the text, its hit area and its focus rectangle are measured at the new scale.
    const LRESULT lResult = Default();
    if (reinterpret_cast<HFONT>(wParam) != m_fontLink.GetSafeHandle())
        m_fontLink.DeleteObject();
    return lResult;
}

// Mouse

BOOL CHLinkCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    // While the menu is tracked the pointer is the menu's; without a cursor of our own the
    // static's would do as well.
    if (m_bInMenu || !m_hLinkCursor)
        return CStatic::OnSetCursor(pWnd, nHitTest, message);
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CHLinkCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTrackHover)
        return;

    CRect rcClient;
    GetClientRect(rcClient);
    // Leaving is seen through the capture taken on entry: the next move outside still
    // arrives here.
    const bool bHoldsCapture = ::GetCapture() == m_hWnd;
    switch (DecideHoverMove(m_state, ToLinkRect(rcClient), {point.x, point.y}, bHoldsCapture)) {
    case HoverMove::Enter:
        SetCapture();
        SetHover(TRUE);
        break;
    case HoverMove::Leave:
        SetHover(FALSE);
        ::ReleaseCapture();
        break;
    case HoverMove::None:
        break;
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CHLinkCtrl::OnLButtonDown(UINT, CPoint)
{
    // Posted, so the open runs after the click, through the same command as the menu's Open.
    PostMessage(WM_COMMAND, MAKEWPARAM(ID_HLINK_OPEN, 0), 0);
}

void CHLinkCtrl::SetHover(BOOL bHover)
{
    if (!m_state.SetHover(bHover != FALSE))
        return;
    InvalidateRect(nullptr, TRUE);
    NotifyStateChange();
}

// Opening

void CHLinkCtrl::OnLinkOpen()
{
    // The visited colour shows at the next paint.
    const bool bWasVisited = m_state.IsVisited();
    if (!OpenLink())
        return;
    m_state.MarkVisited();
    if (!bWasVisited)
        NotifyStateChange();
}

BOOL CHLinkCtrl::OpenLink()
{
    CWaitCursor wait;
    BOOL ok = InvokeLinkObject();
    if (!ok)
        ok = ShellOpenLink();
    return ok;
}

BOOL CHLinkCtrl::InvokeLinkObject()
{
    ComRef<IUniformResourceLocatorA> pURL;
    if (FAILED(::CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IUniformResourceLocatorA, pURL.Receive()))
        || !pURL)
        return FALSE;
    if (FAILED(pURL->SetURL(m_strURL, IURL_SETURL_FL_GUESS_PROTOCOL)))
        return FALSE;

    URLINVOKECOMMANDINFOA info = {};
    info.dwcbSize = sizeof(info);
    info.dwFlags = IURL_INVOKECOMMAND_FL_ALLOW_UI;
    info.hwndParent = GetParentHwnd();
    info.pcszVerb = kOpenVerb;
    return SUCCEEDED(pURL->InvokeCommand(&info)) ? TRUE : FALSE;
}

BOOL CHLinkCtrl::ShellOpenLink()
{
    HINSTANCE hResult = ::ShellExecuteA(GetParentHwnd(), kOpenVerb, m_strURL, nullptr, nullptr, SW_SHOW);
    // Values up to 32 are error codes.
    return reinterpret_cast<INT_PTR>(hResult) > 32 ? TRUE : FALSE;
}

HWND CHLinkCtrl::GetParentHwnd() const
{
    return ::GetParent(m_hWnd);
}

// Context menu and its commands

void CHLinkCtrl::OnContextMenu(CWnd*, CPoint point)
{
    if (!m_bContextMenu)
        return;

    SetHover(FALSE);
    ::ReleaseCapture();

    if (IsKeyboardMenuPoint({point.x, point.y})) {
        CRect rcClient;
        GetClientRect(rcClient);
        ClientToScreen(rcClient);
        const LinkPoint pt = KeyboardMenuPoint(ToLinkRect(rcClient));
        point = CPoint(pt.x, pt.y);
    }

    CMenu menu;
    if (!menu.LoadMenu(IDR_HLINK_MENU))
        return;
    CMenu popup = menu.GetSubMenu(0);
    if (!popup.GetSafeHmenu())
        return;

    // The chosen command comes back to this window as WM_COMMAND.
    m_bInMenu = TRUE;
    popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, m_hWnd);
    m_bInMenu = FALSE;
    menu.DestroyMenu();
}

void CHLinkCtrl::OnLinkCopyShortcut()
{
    PutClipboardText(m_hWnd, m_strURL);
}

void CHLinkCtrl::OnLinkAddToFavorites()
{
    AddLinkToFolder(CSIDL_FAVORITES);
}

void CHLinkCtrl::OnLinkAddToDesktop()
{
    AddLinkToFolder(CSIDL_DESKTOP);
}

BOOL CHLinkCtrl::AddLinkToFolder(int nFolder)
{
    CWaitCursor wait;

    ComRef<IMalloc> pMalloc;
    if (FAILED(::SHGetMalloc(pMalloc.ReceiveTyped())) || !pMalloc)
        return FALSE;

    CString strPath;
    {
        ShellItemList folder(pMalloc.Get());
        char szFolder[MAX_PATH] = {};
        if (FAILED(::SHGetSpecialFolderLocation(nullptr, nFolder, folder.Receive())) || !folder.Get())
            return FALSE;
        if (!::SHGetPathFromIDListA(folder.Get(), szFolder))
            return FALSE;

        CString strText;
        GetWindowText(strText);
        if (!MakeShortcutPath(szFolder, strText, strPath))
            return FALSE;
    } // the folder's item list is freed before the shortcut is saved

    return SaveLinkShortcut(strPath);
}

BOOL CHLinkCtrl::SaveLinkShortcut(const CString& strPath)
{
    ComRef<IUniformResourceLocatorA> pURL;
    if (FAILED(::CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IUniformResourceLocatorA, pURL.Receive()))
        || !pURL)
        return FALSE;
    if (FAILED(pURL->SetURL(m_strURL, IURL_SETURL_FL_GUESS_PROTOCOL)))
        return FALSE;
    ComRef<IPersistFile> pFile;
    if (FAILED(pURL->QueryInterface(IID_IPersistFile, pFile.Receive())) || !pFile)
        return FALSE;

    WCHAR wszPath[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, strPath, -1, wszPath, MAX_PATH))
        return FALSE;
    // Remembered: the object takes the file as its current file.
    return SUCCEEDED(pFile->Save(wszPath, TRUE)) ? TRUE : FALSE;
}

void CHLinkCtrl::OnLinkProperties()
{
    CHLinkSheet sheet(IDS_HLINK_PROPERTIES, GetParent(), 0);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.m_pageGeneral.m_pLink = this;
    sheet.DoModal();
}

// Keyboard

void CHLinkCtrl::PreSubclassWindow()
{
    // Tab reaches the link in the dialog's template order; hidden or disabled, it is skipped
    // as any control is. Its text is shown as written, so an "&" in it makes no mnemonic.
    const DWORD dwStyle = GetStyle();
    const DWORD dwLinkStyle = LinkStyleOnAttach(dwStyle);
    m_dwAddedOnAttach = dwLinkStyle & ~dwStyle;
    if (m_dwAddedOnAttach)
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwLinkStyle));
}

LRESULT CHLinkCtrl::OnGetDlgCode(WPARAM, LPARAM lParam)
{
    // Enter and Space come to the link instead of pressing the dialog's default button. The
    // link is no label: without DLGC_STATIC the dialog does not look for a mnemonic in its
    // text (some dialog managers do so even under SS_NOPREFIX).
    LRESULT lCode = Default() & ~DLGC_STATIC;
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    if (pMsg && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_CHAR)
        && IsLinkOpenKey(static_cast<unsigned>(pMsg->wParam)))
        lCode |= DLGC_WANTMESSAGE;
    return lCode;
}

LRESULT CHLinkCtrl::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    const bool bRepeat = (lParam & 0x40000000) != 0; // the key was already down
    if (!KeyDownOpensLink(static_cast<unsigned>(wParam), bRepeat))
        return Default();
    // The same command a click posts.
    PostMessage(WM_COMMAND, MAKEWPARAM(ID_HLINK_OPEN, 0), 0);
    return 0;
}

// Focus rectangle

LRESULT CHLinkCtrl::OnFocusChange(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    RedrawBehind();
    return lResult;
}

LRESULT CHLinkCtrl::OnUpdateUIState(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    if (::GetFocus() == m_hWnd)
        RedrawBehind();
    return lResult;
}

LRESULT CHLinkCtrl::OnPaint(WPARAM, LPARAM)
{
    // The static paints its text as always; the rectangle goes on top.
    const LRESULT lResult = Default();
    if (ShowsFocusRect())
        DrawFocusRectangle();
    return lResult;
}

bool CHLinkCtrl::ShowsFocusRect()
{
    return ::GetFocus() == m_hWnd && (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) == 0;
}

void CHLinkCtrl::DrawFocusRectangle()
{
    CRect rcClient;
    GetClientRect(rcClient);
    const DWORD dwStyle = GetStyle();
    CString strText;
    GetWindowText(strText);

    HDC hDC = ::GetDC(m_hWnd);
    if (!hDC)
        return;
    // Measured as the static lays the text out: word-wrapped, with or without prefixes.
    HFONT hFont = m_fontLink.GetSafeHandle() ? static_cast<HFONT>(m_fontLink.GetSafeHandle()) : GetFont();
    HGDIOBJ hOldFont = hFont ? ::SelectObject(hDC, hFont) : nullptr;
    RECT rcText = rcClient;
    UINT nFormat = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
    if (dwStyle & SS_NOPREFIX)
        nFormat |= DT_NOPREFIX;
    ::DrawTextA(hDC, strText, -1, &rcText, nFormat);
    if (hOldFont)
        ::SelectObject(hDC, hOldFont);

    const LinkRect rc = FocusRectAroundText(ToLinkRect(rcClient), rcText.right - rcText.left,
                                            rcText.bottom - rcText.top, dwStyle);
    // Dotted, in the colour of the text, drawn over the same pixels at every paint (no
    // inversion, so repeated paints leave it as it is).
    const COLORREF cr =
        LinkStyleDrawsAsLink(dwStyle, m_dwAddedOnAttach) ? GetTextColor() : ::GetSysColor(COLOR_BTNTEXT);
    for (int x = rc.left; x < rc.right; x += 2) {
        ::SetPixelV(hDC, x, rc.top, cr);
        ::SetPixelV(hDC, x, rc.bottom - 1, cr);
    }
    for (int y = rc.top; y < rc.bottom; y += 2) {
        ::SetPixelV(hDC, rc.left, y, cr);
        ::SetPixelV(hDC, rc.right - 1, y, cr);
    }
    ::ReleaseDC(m_hWnd, hDC);
}

void CHLinkCtrl::RedrawBehind()
{
    HWND hParent = GetParentHwnd();
    if (!hParent) {
        InvalidateRect(nullptr, TRUE);
        return;
    }
    RECT rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(HWND_DESKTOP, hParent, reinterpret_cast<LPPOINT>(&rc), 2);
    ::RedrawWindow(hParent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW);
}

// Screen readers

LRESULT CHLinkCtrl::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT)
        return Default();
    if (!m_pAccessible)
        m_pAccessible = new CHLinkAccessible(this);
    const LRESULT lResult = m_pAccessible->Serve(wParam);
    return lResult ? lResult : Default();
}

void CHLinkCtrl::NotifyStateChange()
{
    ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}

void CHLinkCtrl::OnNcDestroyed()
{
    ReleaseAccessible();
    CStatic::OnNcDestroyed();
}

void CHLinkCtrl::ReleaseAccessible()
{
    if (!m_pAccessible)
        return;
    m_pAccessible->Disconnect();
    m_pAccessible->Release();
    m_pAccessible = nullptr;
}
