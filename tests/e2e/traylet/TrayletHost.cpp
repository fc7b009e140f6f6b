#include "TrayletHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

constexpr char kOwnerClass[] = "TrayletTestOwner";

std::mutex g_debugMutex;
std::vector<std::string> g_debugTexts;

} // namespace

const TrayletLibrary& TrayletLibrary::Get()
{
    static const TrayletLibrary library = [] {
        TrayletLibrary lib;
        lib.hModule = LoadLibraryA("Traylet.dll");
        if (!lib.hModule) {
            std::fprintf(stderr, "cannot load Traylet.dll (error %lu)\n", GetLastError());
            std::abort();
        }
        lib.pfnCreate = reinterpret_cast<PFN_CREATETRAYMANAGER>(
            reinterpret_cast<void*>(GetProcAddress(lib.hModule, "CreateTrayManager")));
        lib.pfnDestroy = reinterpret_cast<PFN_DESTROYTRAYMANAGER>(
            reinterpret_cast<void*>(GetProcAddress(lib.hModule, "DestroyTrayManager")));
        return lib;
    }();
    return library;
}

TestOwner::TestOwner()
{
    static const ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kOwnerClass;
        return RegisterClassA(&wc);
    }();
    (void)atom;
    m_hWnd = CreateWindowExA(0, kOwnerClass, "Quillory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150,
                             nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

TestOwner::~TestOwner()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

WNDPROC TestOwner::OwnProc() const
{
    return WndProc;
}

int TestOwner::Count(UINT uMsg) const
{
    return static_cast<int>(std::count_if(m_messages.begin(), m_messages.end(),
                                          [uMsg](const RecordedMessage& m) { return m.uMsg == uMsg; }));
}

LRESULT CALLBACK TestOwner::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pSelf = reinterpret_cast<TestOwner*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pSelf)
        pSelf->m_messages.push_back({uMsg, wParam, lParam});
    switch (uMsg) {
    case WM_CLOSE:
        return 0;
    case kPing:
        return kPingAnswer;
    case WM_NCDESTROY:
        if (pSelf)
            pSelf->m_hWnd = nullptr;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

TestMenu::TestMenu(bool bWithSubmenu)
    : m_hMenu(CreateMenu())
{
    if (!bWithSubmenu) {
        AppendMenuA(m_hMenu, MF_STRING, kCmdClient, "Plain");
        return;
    }
    HMENU hSub = CreatePopupMenu();
    AppendMenuA(hSub, MF_STRING, kCmdClient, "Settings");
    AppendMenuA(hSub, MF_STRING, 9001, "Exit");
    AppendMenuA(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "Tray");
}

TestIcon::TestIcon()
{
    // 16 x 16, one bit per pixel: the AND mask keeps nothing of the background, the XOR mask
    // draws a filled square.
    static const BYTE andMask[16 * 2] = {};
    BYTE xorMask[16 * 2];
    for (BYTE& b : xorMask)
        b = 0xFF;
    m_hIcon = CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 1, andMask, xorMask);
}

DebugOutputCapture::DebugOutputCapture()
{
    std::lock_guard<std::mutex> lock(g_debugMutex);
    g_debugTexts.clear();
    m_hHandler = AddVectoredExceptionHandler(1, Handler);
}

DebugOutputCapture::~DebugOutputCapture()
{
    RemoveVectoredExceptionHandler(m_hHandler);
}

bool DebugOutputCapture::Contains(const std::string& text) const
{
    std::lock_guard<std::mutex> lock(g_debugMutex);
    return std::find(g_debugTexts.begin(), g_debugTexts.end(), text) != g_debugTexts.end();
}

// OutputDebugStringA raises DBG_PRINTEXCEPTION_C with the text's length and address; the
// exception is left to its usual handling.
LONG CALLBACK DebugOutputCapture::Handler(EXCEPTION_POINTERS* pInfo)
{
    const EXCEPTION_RECORD* pRecord = pInfo->ExceptionRecord;
    if (pRecord->ExceptionCode == DBG_PRINTEXCEPTION_C && pRecord->NumberParameters >= 2) {
        const auto* pszText = reinterpret_cast<const char*>(pRecord->ExceptionInformation[1]);
        std::lock_guard<std::mutex> lock(g_debugMutex);
        g_debugTexts.emplace_back(pszText);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

// A system callback: __stdcall on i686, which a lambda converted to a function pointer is not.
static BOOL CALLBACK CollectTrayWindow(HWND hWnd, LPARAM lParam)
{
    char szClass[64] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, "BgTrayServerWnd") == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> TrayWindows()
{
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectTrayWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool IconShown(HWND hTrayWnd)
{
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hTrayWnd;
    nid.uID = 1000;
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

UINT TaskbarCreatedMessage()
{
    return RegisterWindowMessageA("TaskbarCreated");
}

int CountCommand(HMENU hMenu, UINT id)
{
    int n = 0;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        n += GetMenuItemID(hMenu, i) == id;
    return n;
}

std::string LastItemText(HMENU hMenu)
{
    char szText[64] = {};
    GetMenuStringA(hMenu, GetMenuItemCount(hMenu) - 1, szText, sizeof(szText), MF_BYPOSITION);
    return szText;
}
