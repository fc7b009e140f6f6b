// A test host for the hyperlink control: a dialog whose statics are bound to CHLinkCtrl
// objects, built from the same library as Upvane.
//   hlink_host [ID TEXT TARGET]...   gives link ID its window text and its target
// The link IDC_HOST_FONTLESSLINK is a static made at run time that never gets a font.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <map>
#include <utility>

#include "Framework.h"
#include "HLinkCtrl.h"
#include "HostIds.h"

namespace {

struct LinkSetting
{
    CString strText;
    CString strURL;
};

CString ToAnsi(const wchar_t* pwsz)
{
    const int n = ::WideCharToMultiByte(CP_ACP, 0, pwsz, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return CString();
    CString str;
    ::WideCharToMultiByte(CP_ACP, 0, pwsz, -1, str.GetBuffer(n), n, nullptr, nullptr);
    str.ReleaseBuffer();
    return str;
}

std::map<int, LinkSetting> ReadCommandLine()
{
    std::map<int, LinkSetting> settings;
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv)
        return settings;
    for (int i = 1; i + 2 < argc; i += 3)
        settings[_wtoi(argv[i])] = {ToAnsi(argv[i + 1]), ToAnsi(argv[i + 2])};
    ::LocalFree(argv);
    return settings;
}

class CHostDlg : public CDialog
{
public:
    explicit CHostDlg(std::map<int, LinkSetting> settings)
        : CDialog(IDD_HLINK_HOST),
          m_settings(std::move(settings))
    {
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_HOST_MAILLINK, m_linkMail);
        DDX_Control(pDX, IDC_HOST_SITELINK, m_linkSite);
        DDX_Control(pDX, IDC_HOST_NOPREFIXLINK, m_linkNoPrefix);
        DDX_Control(pDX, IDC_HOST_CENTRELINK, m_linkCentre);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();

        // A static the dialog never gave a font to, below the template's links.
        RECT rc = {10, 64, 127, 77};
        ::MapDialogRect(m_hWnd, &rc);
        HWND hFontless = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, rc.left, rc.top,
                                           rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
                                           reinterpret_cast<HMENU>(IDC_HOST_FONTLESSLINK),
                                           AfxGetInstanceHandle(), nullptr);
        if (hFontless)
            m_linkFontless.SubclassWindow(hFontless);

        Apply(IDC_HOST_MAILLINK, m_linkMail);
        Apply(IDC_HOST_SITELINK, m_linkSite);
        Apply(IDC_HOST_NOPREFIXLINK, m_linkNoPrefix);
        Apply(IDC_HOST_CENTRELINK, m_linkCentre);
        Apply(IDC_HOST_FONTLESSLINK, m_linkFontless);
        return TRUE;
    }

private:
    void Apply(int nID, CHLinkCtrl& link)
    {
        auto it = m_settings.find(nID);
        if (it == m_settings.end() || !link.m_hWnd)
            return;
        link.SetWindowText(it->second.strText);
        link.SetLinkURL(it->second.strURL);
    }

    std::map<int, LinkSetting> m_settings;
    CHLinkCtrl m_linkMail;
    CHLinkCtrl m_linkSite;
    CHLinkCtrl m_linkNoPrefix;
    CHLinkCtrl m_linkCentre;
    CHLinkCtrl m_linkFontless;
};

class CHostApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        AfxOleInit();
        CHostDlg dlg(ReadCommandLine());
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CHostApp theApp;

} // namespace
