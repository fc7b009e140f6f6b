#include "CWinApp.h"

#include <ole2.h>

#include "GrowingRead.h"

namespace {

// The one application object of the process: the framework's entry point runs it.
CWinApp* g_pApp = nullptr;

} // namespace

CWinApp::CWinApp(const char* lpszAppName)
{
    g_pApp = this;
    if (lpszAppName) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitApplication(HINSTANCE hInstance)
{
    m_hInstance = hInstance;
    // The path may be longer than MAX_PATH, up to the system's longest: grow the buffer until
    // it holds the whole path (a full buffer means the path was cut).
    m_strModulePath = ReadGrowing(
        [hInstance](char* buffer, unsigned long size) -> unsigned long {
            return ::GetModuleFileNameA(hInstance, buffer, size);
        },
        MAX_PATH, kLongestPathBuffer);
    if (!m_pszAppName) {
        // The executable's base name: after the last backslash, without the extension.
        CString name = m_strModulePath.Mid(m_strModulePath.ReverseFind('\\') + 1);
        const int dot = name.ReverseFind('.');
        m_strAppName = dot >= 0 ? name.Left(dot) : name;
        m_pszAppName = m_strAppName;
    }
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int CWinApp::ExitInstance()
{
    if (m_bOleInitialized) {
        ::OleUninitialize();
        m_bOleInitialized = false;
    }
    return 0;
}

BOOL CWinApp::Enable3dControls()
{
    return TRUE;
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount < 0)
        m_nWaitCursorCount = 0;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hcurPrev;
    } else {
        ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursorA(nullptr, IDC_ARROW));
    }
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(nIDResource), RT_GROUP_ICON),
                       MAKEINTRESOURCEA(nIDResource));
}

BOOL CWinApp::OleInit()
{
    if (m_bOleInitialized)
        return TRUE;
    m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return m_bOleInitialized ? TRUE : FALSE;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

const char* AfxGetAppName()
{
    return g_pApp && g_pApp->m_pszAppName ? g_pApp->m_pszAppName : "";
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR)
{
    // All resources of a deliverable live in its own executable.
    return AfxGetResourceHandle();
}

void AfxDoWaitCursor(int nCode)
{
    if (g_pApp)
        g_pApp->DoWaitCursor(nCode);
}

BOOL AfxOleInit()
{
    return g_pApp ? g_pApp->OleInit() : FALSE;
}

BOOL AfxLoadString(UINT nID, CString& rString)
{
    char buf[1024];
    const int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, sizeof buf);
    if (n <= 0)
        return FALSE;
    rString = CString(buf, n);
    return TRUE;
}
