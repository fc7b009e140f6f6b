#include "UpvaneDlg.h"

#include <memory>
#include <shellapi.h>

#include "AppStrings.h"
#include "CheckSession.h"
#include "CIniFile.h"
#include "CheckAnnouncement.h"
#include "FindHandle.h"
#include "Descramble.h"
#include "SetFileValues.h"
#include "StepMark.h"
#include "UpvaneTexts.h"
#include "VersionCheck.h"
#include "resource.h"

extern CIniFile g_iniFile;

namespace {

// Progress bar of a check: 0 to 50 in the control's default steps of 10.
const LPARAM kProgressRange = MAKELPARAM(0, 50);

} // namespace

BEGIN_MESSAGE_MAP(CUpvaneDlg, CDialog)
    ON_BN_CLICKED(IDC_CHECK, OnCheck)
    ON_BN_CLICKED(IDC_DOWNLOAD, OnDownload)
END_MESSAGE_MAP()

CUpvaneDlg::CUpvaneDlg()
    : CDialog(IDD_UPVANE_DIALOG, nullptr)
{
}

CUpvaneDlg::~CUpvaneDlg() = default;

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

    HICON hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));

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

HWND CUpvaneDlg::FindInformationLine() const
{
    // Compared on the low word: a template's -1 reads back as 0xFFFF or as -1 depending on
    // the template kind and the pointer size.
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (LOWORD(::GetDlgCtrlID(h)) == 0xFFFF)
            return h;
    return nullptr;
}
