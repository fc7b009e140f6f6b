#include "UpvaneDlg.h"

#include <memory>
#include <shellapi.h>

#include "AppStrings.h"
#include "CheckSession.h"
#include "CIniFile.h"
#include "CheckAnnouncement.h"
#include "FindHandle.h"
#include "Descramble.h"
#include "DisplayScale.h"
#include "DpiApi.h"
#include "SetFileValues.h"
#include "StepMark.h"
#include "UpvaneTexts.h"
#include "VersionCheck.h"
#include "resource.h"

extern CIniFile g_iniFile;

namespace {

// Progress bar of a check: 0 to 50 in the control's default steps of 10.
const LPARAM kProgressRange = MAKELPARAM(0, 50);

HICON LoadProgramIcon(int nMetricX, int nMetricY, int nDpi)
{
    return static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                           IMAGE_ICON, AfxGetSystemMetricForDpi(nMetricX, nDpi),
                                           AfxGetSystemMetricForDpi(nMetricY, nDpi), LR_DEFAULTCOLOR));
}

// A new bitmap of cx x cy pixels filled with the part of `hbmSource` that covers it without
// distortion. HALFTONE averages the source pixels that fall on each pixel of the frame, so a
// larger source scaled down keeps its edges smooth and its small text sharp; the brush origin
// must be set again after choosing that mode.
HBITMAP ScaleBitmapToFrame(HBITMAP hbmSource, SIZE sizeSource, int cx, int cy)
{
    const ScaleRect cut = PictureCutForFrame(cx, cy, sizeSource.cx, sizeSource.cy);
    if (cut.cx <= 0 || cut.cy <= 0)
        return nullptr;
    HDC hScreen = ::GetDC(nullptr);
    if (!hScreen)
        return nullptr;
    HBITMAP hbmFrame = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HDC hdcSource = ::CreateCompatibleDC(hScreen);
    HDC hdcFrame = ::CreateCompatibleDC(hScreen);
    if (hbmFrame && hdcSource && hdcFrame) {
        HGDIOBJ hOldSource = ::SelectObject(hdcSource, hbmSource);
        HGDIOBJ hOldFrame = ::SelectObject(hdcFrame, hbmFrame);
        ::SetStretchBltMode(hdcFrame, HALFTONE);
        ::SetBrushOrgEx(hdcFrame, 0, 0, nullptr);
        ::StretchBlt(hdcFrame, 0, 0, cx, cy, hdcSource, cut.x, cut.y, cut.cx, cut.cy, SRCCOPY);
        ::SelectObject(hdcFrame, hOldFrame);
        ::SelectObject(hdcSource, hOldSource);
    }
    if (hdcFrame)
        ::DeleteDC(hdcFrame);
    if (hdcSource)
        ::DeleteDC(hdcSource);
    ::ReleaseDC(nullptr, hScreen);
    return hbmFrame;
}

} // namespace

BEGIN_MESSAGE_MAP(CUpvaneDlg, CDialog)
    ON_BN_CLICKED(IDC_CHECK, OnCheck)
    ON_BN_CLICKED(IDC_DOWNLOAD, OnDownload)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

CUpvaneDlg::CUpvaneDlg()
    : CDialog(IDD_UPVANE_DIALOG, nullptr),
      m_nDpi(kDefaultDpi),
      m_hbmBannerOriginal(nullptr),
      m_hIconBig(nullptr),
      m_hIconSmall(nullptr)
{
}

// The window and its controls are gone: nothing shows the icons or the banner any more.
CUpvaneDlg::~CUpvaneDlg()
{
    if (m_hIconBig)
        ::DestroyIcon(m_hIconBig);
    if (m_hIconSmall)
        ::DestroyIcon(m_hIconSmall);
}

void CUpvaneDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SITELINK, m_linkSite);
    DDX_Control(pDX, IDC_WHATSNEWLINK, m_linkWhatsNew);
    DDX_Control(pDX, IDC_MAILLINK, m_linkMail);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_MESSAGE, m_resultAlert);
}

BOOL CUpvaneDlg::OnInitDialog()
{
    AFX_STEP_MARK("dialog and controls created");
    CDialog::OnInitDialog();
    AFX_STEP_MARK("links and progress bar bound");
    AfxInitCommonControls();

    m_nDpi = AfxGetWindowDpi(m_hWnd);
    AfxKeepDialogLayoutToItself(m_hWnd);
    SetIcons();
    ShowBanner();

    GetDlgItem(IDC_DOWNLOAD)->EnableWindow(FALSE);
    GetDlgItem(IDC_WHATSNEWLINK)->ShowWindow(SW_HIDE);
    AFX_STEP_MARK("common controls, icon, button states");

    // The reader resolves the bare name against the current directory, so the set file is
    // read only when the program runs in its own folder.
    g_iniFile.Open(FindSetFile());
    AFX_STEP_MARK("set file found and read");

    const CString strTitle = ReadSetFileValue(kSetFileKeys[keyTitle]);
    const CString strInfo = ReadSetFileValue(kSetFileKeys[keyInfo]);
    g_strInstalled = ReadSetFileValue(kSetFileKeys[keyInstalled]);
    const CString strSite = ReadSetFileValue(kSetFileKeys[keySite]);
    g_strWebLink = ReadSetFileValue(kSetFileKeys[keyWebLink]);
    const CString strMailText = ReadSetFileValue(kSetFileKeys[keyMailText]);
    const CString strWebMail = ReadSetFileValue(kSetFileKeys[keyWebMail]);
    g_strWizFile = ReadSetFileValue(kSetFileKeys[keyWizFile]);
    g_strUpdateFile = ReadSetFileValue(kSetFileKeys[keyUpdateFileName]);
    AFX_STEP_MARK("nine values looked up and descrambled");

    SetWindowText(strTitle);
    ::SetWindowTextA(FindInformationLine(), strInfo);

    g_strInstalledLine = ComposeInstalledLine(g_strInstalled);
    SetDlgItemText(IDC_VERSION, g_strInstalledLine);

    SetDlgItemText(IDC_MAILLINK, strMailText);
    SetDlgItemText(IDC_SITELINK, strSite);

    m_linkSite.SetLinkURL(ComposeSiteAddress(g_strWebLink));
    m_linkMail.SetLinkURL(ComposeMailAddress(strWebMail));
    m_linkWhatsNew.SetLinkURL(ComposeWhatsNewAddress());
    AFX_STEP_MARK("texts and link addresses set");

    return FALSE;
}

BOOL CUpvaneDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_COMMAND || !m_bChecking)
        return CDialog::OnWndMsg(message, wParam, lParam, pResult);
    MSG command = {};
    command.hwnd = m_hWnd;
    command.message = message;
    command.wParam = wParam;
    command.lParam = lParam;
    m_deferredCommands.push_back(command);
    *pResult = 0;
    return TRUE;
}

void CUpvaneDlg::OnCheck()
{
    // A check cannot start inside another: its command is kept like any other.
    m_bChecking = true;
    RunCheck();
    m_bChecking = false;
    // In their order, behind whatever the queue already holds.
    for (const MSG& command : m_deferredCommands)
        PostMessage(command.message, command.wParam, command.lParam);
    m_deferredCommands.clear();
}

void CUpvaneDlg::RunCheck()
{
    AFX_STEP_MARK("check entered");
    CCheckSession session;
    session.SetPromptOwner(m_hWnd);

    m_progress.SetPos(0);
    m_progress.SendMessage(PBM_SETRANGE, 0, kProgressRange);

    if (!session.IsOpen()) {
        MessageBox(kMsgNoSession, kCaptionConnectionError, MB_OK | MB_ICONINFORMATION);
        return;
    }
    AFX_STEP_MARK("session opened, progress reset");

    std::unique_ptr<char[]> buffer(new char[kVersionReadSize]);
    UpdateWindow();
    UpdateWindow();
    m_progress.StepIt();
    AFX_STEP_MARK("repainted twice, stepped");

    // A failure to open or read ends the check where it happened (the progress stays where
    // it is): the file, the session and the buffer are released, then the standard error box
    // tells the user.
    CInternetException failure = session.Open(ComposeVersionDocumentAddress(g_strWebLink, g_strWizFile));
    UINT nReceived = 0;
    AFX_STEP_MARK("address opened");
    if (!failure.Failed()) {
        UpdateWindow();
        m_progress.StepIt();
        AFX_STEP_MARK("repainted, stepped");
        failure = session.ReadStart(buffer.get(), nReceived);
        AFX_STEP_MARK("document read");
    }
    if (failure.Failed()) {
        session.Close();
        buffer.reset();
        failure.ReportError(MB_OK | MB_ICONSTOP);
        return;
    }
    m_progress.StepIt();

    const VersionCheckResult result =
        DecideVersionCheck(g_strInstalled, g_strInstalledLine, buffer.get(), static_cast<int>(nReceived));
    g_strInstalledVersion = result.m_parts.m_strInstalledVersion;
    g_strInstalledBuild = result.m_parts.m_strInstalledBuild;
    g_strAvailableVersion = result.m_parts.m_strAvailableVersion;
    g_strAvailableBuild = result.m_parts.m_strAvailableBuild;
    m_progress.StepIt();

    if (result.m_download != ControlChange::Unchanged)
        GetDlgItem(IDC_DOWNLOAD)->EnableWindow(result.m_download == ControlChange::Enable);
    m_linkWhatsNew.SetWindowText(result.m_strWhatsNewText);
    if (result.m_bShowWhatsNew)
        m_linkWhatsNew.ShowWindow(SW_SHOW);
    m_progress.StepIt();

    SetDlgItemText(IDC_VERSION, result.m_strVersionDisplay);
    if (result.m_bSetResultText)
        SetDlgItemText(IDC_MESSAGE, result.m_strResultText);
    m_resultAlert.Announce(ComposeCheckAnnouncement(result, g_strInstalledLine));
    AFX_STEP_MARK("decided and shown");

    session.Close();
    AFX_STEP_MARK("file and session closed");
}

void CUpvaneDlg::OnDownload()
{
    const CString strAddress = ComposeDownloadAddress(g_strWebLink, g_strUpdateFile);
    // The main dialog has no parent, so the shell gets no owner window.
    ::ShellExecuteA(::GetParent(m_hWnd), "open", strAddress, nullptr, nullptr, SW_SHOW);
}

CString CUpvaneDlg::FindSetFile() const
{
    const CString strPattern = ComposeSetFilePattern(AfxGetApp()->GetModulePath());
    WIN32_FIND_DATAA fd = {};
    FindHandle search(::FindFirstFileA(strPattern, &fd));
    if (!search.IsValid())
        return CString();
    return CString(fd.cFileName);
}

CString CUpvaneDlg::ReadSetFileValue(const char* pszKey)
{
    // The reader's result is overwritten by its next look-up: copy it at once.
    const CString strValue = g_iniFile.GetValue(kSetFileSection, pszKey, "");
    g_strScratch = strValue;
    DescrambleValue();
    return g_strScratch;
}

// Scale

LRESULT CUpvaneDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    // Both words carry the new DPI; the rectangle is where Windows suggests the window goes
    // on the new monitor.
    const int nDpi = HIWORD(wParam);
    if (nDpi > 0 && nDpi != m_nDpi)
        LayOutAtDpi(nDpi);
    if (const RECT* prc = reinterpret_cast<const RECT*>(lParam))
        ::SetWindowPos(m_hWnd, nullptr, prc->left, prc->top, prc->right - prc->left, prc->bottom - prc->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    SetIcons();
    ShowBanner();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

LRESULT CUpvaneDlg::OnGetFont(WPARAM, LPARAM)
{
    // Made here after a change of scale; until then the dialog manager's from the template.
    if (m_fontDialog.GetSafeHandle())
        return reinterpret_cast<LRESULT>(m_fontDialog.GetSafeHandle());
    return Default();
}

void CUpvaneDlg::LayOutAtDpi(int nDpi)
{
    HFONT hOldFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTA lf = {};
    if (!hOldFont || !::GetObjectA(hOldFont, sizeof(lf), &lf))
        return;
    lf.lfHeight = FontHeightAtDpi(lf.lfHeight, m_nDpi, nDpi);
    HFONT hNewFont = ::CreateFontIndirectA(&lf);
    if (!hNewFont)
        return;

    // Every control was placed from its template rectangle with the old font's units; the
    // same rectangle goes to the new font's units.
    const DialogBaseUnits oldUnits = AfxGetFontBaseUnits(hOldFont);
    const DialogBaseUnits newUnits = AfxGetFontBaseUnits(hNewFont);
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        RECT rc;
        ::GetWindowRect(h, &rc);
        ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
        const ScaleRect units =
            PixelsToDialogUnits({rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top}, oldUnits);
        const ScaleRect pixels = DialogUnitsToPixels(units, newUnits);
        ::SetWindowPos(h, nullptr, pixels.x, pixels.y, pixels.cx, pixels.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(hNewFont), FALSE);
    }
    // No control uses the font of the scale before any more.
    m_fontDialog.Attach(hNewFont);
    m_nDpi = nDpi;
}

void CUpvaneDlg::SetIcons()
{
    HICON hBig = LoadProgramIcon(SM_CXICON, SM_CYICON, m_nDpi);
    HICON hSmall = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON, m_nDpi);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBig));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
    // The window holds the new ones now.
    if (m_hIconBig)
        ::DestroyIcon(m_hIconBig);
    if (m_hIconSmall)
        ::DestroyIcon(m_hIconSmall);
    m_hIconBig = hBig;
    m_hIconSmall = hSmall;
}

void CUpvaneDlg::ShowBanner()
{
    HWND hBanner = FindBanner();
    if (!hBanner)
        return;
    if (!m_hbmBannerOriginal)
        m_hbmBannerOriginal =
            reinterpret_cast<HBITMAP>(::SendMessageA(hBanner, STM_GETIMAGE, IMAGE_BITMAP, 0));

    // The template keeps the static at its frame (SS_REALSIZECONTROL); the static is only
    // ever given a bitmap of exactly its size, so its own stretching never changes a pixel.
    RECT rc;
    ::GetClientRect(hBanner, &rc);
    BITMAP bm = {};
    HBITMAP hbmShown = nullptr;
    if (m_hbmBannerOriginal && ::GetObjectA(m_hbmBannerOriginal, sizeof(bm), &bm) && bm.bmWidth == rc.right
        && bm.bmHeight == rc.bottom) {
        hbmShown = m_hbmBannerOriginal;
    } else {
        if (!m_bmpBannerLarge.GetSafeHandle())
            m_bmpBannerLarge.LoadBitmap(AfxGetInstanceHandle(), IDB_BANNER_LARGE);
        if (m_bmpBannerLarge.GetSafeHandle())
            hbmShown = ScaleBitmapToFrame(m_bmpBannerLarge.GetSafeHandle(), m_bmpBannerLarge.GetSize(),
                                          rc.right, rc.bottom);
    }
    if (!hbmShown)
        return;
    ::SendMessageA(hBanner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hbmShown));
    // The scaled bitmap shown before, if any, is no longer shown.
    if (hbmShown == m_hbmBannerOriginal)
        m_bmpBanner.DeleteObject();
    else
        m_bmpBanner.Attach(hbmShown);
}

HWND CUpvaneDlg::FindBanner() const
{
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if ((::GetWindowLongPtrA(h, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return h;
    return nullptr;
}

HWND CUpvaneDlg::FindInformationLine() const
{
    // Compared on the low word: a template's -1 reads back as 0xFFFF or as -1 depending on
    // the template kind and the pointer size.
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (LOWORD(::GetDlgCtrlID(h)) == 0xFFFF)
            return h;
    return nullptr;
}
