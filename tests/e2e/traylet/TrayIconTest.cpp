// The icon: the records handed to the shell, the tip, and the return after a shell restart.
#include <cstring>
#include <memory>
#include <string>

#include "ImportPatch.h"
#include "TrayletFixture.h"

namespace {

struct NotifyCall
{
    DWORD dwMessage;
    NOTIFYICONDATAA data;
};

std::vector<NotifyCall> g_notifyCalls;
bool g_bFailNotify = false;
decltype(&Shell_NotifyIconA) g_pfnRealNotify = nullptr;

// Keeps exactly the bytes the record declares; the rest stays zero.
BOOL WINAPI RecordNotify(DWORD dwMessage, PNOTIFYICONDATAA pData)
{
    NotifyCall call = {dwMessage, {}};
    std::memcpy(&call.data, pData, std::min<size_t>(pData->cbSize, sizeof(call.data)));
    g_notifyCalls.push_back(call);
    return g_bFailNotify ? FALSE : g_pfnRealNotify(dwMessage, pData);
}

std::string VariedText(size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

// The message filter changes Traylet asks for, seen through the functions it looks up.
struct FilterCall
{
    HWND hWnd;
    UINT uMessage;
    DWORD dwAction;
};
std::vector<FilterCall> g_filterCalls;
decltype(&GetProcAddress) g_pfnRealGetProcAddress = nullptr;
decltype(&ChangeWindowMessageFilterEx) g_pfnRealFilter = nullptr;

BOOL WINAPI RecordFilter(HWND hWnd, UINT uMessage, DWORD dwAction, PCHANGEFILTERSTRUCT pStatus)
{
    g_filterCalls.push_back({hWnd, uMessage, dwAction});
    return g_pfnRealFilter(hWnd, uMessage, dwAction, pStatus);
}

FARPROC WINAPI LookUpRecordingFilter(HMODULE hModule, LPCSTR pszName)
{
    FARPROC pfn = g_pfnRealGetProcAddress(hModule, pszName);
    if (pfn && HIWORD(reinterpret_cast<ULONG_PTR>(pszName))
        && !std::strcmp(pszName, "ChangeWindowMessageFilterEx")) {
        g_pfnRealFilter = reinterpret_cast<decltype(g_pfnRealFilter)>(reinterpret_cast<void*>(pfn));
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(RecordFilter));
    }
    return pfn;
}

} // namespace

// Sees every Shell_NotifyIconA call of Traylet.dll.
class TrayIconTest : public TrayletTest
{
protected:
    void SetUp() override
    {
        g_notifyCalls.clear();
        g_bFailNotify = false;
        m_patch = std::make_unique<ImportPatch>(lib.hModule, "shell32.dll", "Shell_NotifyIconA",
                                                reinterpret_cast<void*>(RecordNotify));
        ASSERT_TRUE(m_patch->IsActive());
        g_pfnRealNotify = m_patch->Original<decltype(&Shell_NotifyIconA)>();
    }
    void TearDown() override
    {
        g_bFailNotify = false;
        TrayletTest::TearDown();
        m_patch.reset();
    }

private:
    std::unique_ptr<ImportPatch> m_patch;
};

TEST_F(TrayIconTest, AddAndDeleteRecordsCarryTheFirstRecordVersion)
{
    const std::string tip = VariedText(200);
    TrayManager* pManager = NewManager();
    ASSERT_EQ(pManager->Init(owner.Wnd(), icon, tip.c_str(), menu.Menu()), 1);
    const HWND hTray = TrayWnd();

    ASSERT_EQ(g_notifyCalls.size(), 1u);
    const NotifyCall add = g_notifyCalls[0];
    EXPECT_EQ(add.dwMessage, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, kNotifyRecordSize);
    EXPECT_EQ(add.data.hWnd, hTray);
    EXPECT_EQ(add.data.uID, 1000u);
    EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.data.uCallbackMessage, kCallbackMessage);
    EXPECT_EQ(add.data.hIcon, icon);
    EXPECT_EQ(std::string(add.data.szTip), tip.substr(0, 63)) << "a 200-character tip shows 63";

    EXPECT_EQ(pManager->Shutdown(), 1);
    ASSERT_EQ(g_notifyCalls.size(), 2u);
    const NotifyCall del = g_notifyCalls[1];
    EXPECT_EQ(del.dwMessage, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(del.data.cbSize, kNotifyRecordSize);
    EXPECT_EQ(del.data.hWnd, hTray);
    EXPECT_EQ(del.data.uID, 1000u);
    EXPECT_EQ(del.data.uFlags, 0u);
}

TEST_F(TrayIconTest, TipsAtTheShownAndStoredLimitsShowAtMost63Characters)
{
    // 63 and 64 sit at the shown limit, 127 and 128 at the stored one; the icon added again
    // after a shell restart shows the same, from the stored copy.
    for (size_t length : {63u, 64u, 127u, 128u}) {
        SCOPED_TRACE(length);
        g_notifyCalls.clear();
        const std::string tip = VariedText(length);
        TrayManager* pManager = NewManager();
        ASSERT_EQ(pManager->Init(owner.Wnd(), icon, tip.c_str(), menu.Menu()), 1);
        EXPECT_EQ(SendMessageA(TrayWnd(), TaskbarCreatedMessage(), 0, 0), 0);
        ASSERT_EQ(g_notifyCalls.size(), 2u);
        for (const NotifyCall& add : g_notifyCalls) {
            EXPECT_EQ(add.dwMessage, static_cast<DWORD>(NIM_ADD));
            EXPECT_EQ(std::string(add.data.szTip), tip.substr(0, 63));
        }
        EXPECT_EQ(pManager->Shutdown(), 1);
        EXPECT_EQ(Release(pManager), 1);
    }
}

TEST_F(TrayIconTest, NullTipShowsEmptyTip)
{
    ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, nullptr, menu.Menu()), 1);
    ASSERT_EQ(g_notifyCalls.size(), 1u);
    EXPECT_STREQ(g_notifyCalls[0].data.szTip, "");
}

TEST_F(TrayIconTest, NullIconAddsNoIconUntilShellRestartAddsItUntested)
{
    ASSERT_EQ(NewManager()->Init(owner.Wnd(), nullptr, "Quillory", menu.Menu()), 0);
    const HWND hTray = TrayWnd();
    EXPECT_TRUE(g_notifyCalls.empty());
    EXPECT_FALSE(IconShown(hTray));
    // Everything else is in place.
    EXPECT_EQ(CountCommand(menu.Submenu(), kCmdOpen), 1);
    SendMessageA(owner.Wnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(owner.Wnd()));

    EXPECT_EQ(SendMessageA(hTray, TaskbarCreatedMessage(), 0, 0), 0);
    ASSERT_EQ(g_notifyCalls.size(), 1u);
    EXPECT_EQ(g_notifyCalls[0].dwMessage, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_notifyCalls[0].data.hIcon, nullptr);
    EXPECT_STREQ(g_notifyCalls[0].data.szTip, "Quillory");
}

TEST_F(TrayIconTest, FailedReCreationIsReportedToDebugger)
{
    ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    const HWND hTray = TrayWnd();

    DebugOutputCapture capture;
    g_bFailNotify = true;
    EXPECT_EQ(SendMessageA(hTray, TaskbarCreatedMessage(), 0, 0), 0);
    EXPECT_EQ(g_notifyCalls.size(), 2u);
    EXPECT_TRUE(capture.Contains("ReCreateTrayIcon() Failed !"));
}

// The real shell, through the broadcast a restarted taskbar sends; an elevated client lets
// that broadcast through the system's message filter to the hidden window.
TEST_F(TrayletTest, TaskbarCreatedBroadcastAddsIconAgain)
{
    {
        ImportPatch patch(lib.hModule, "kernel32.dll", "GetProcAddress",
                          reinterpret_cast<void*>(LookUpRecordingFilter));
        ASSERT_TRUE(patch.IsActive()) << "Traylet looks up the message filter at run time";
        g_pfnRealGetProcAddress = patch.Original<decltype(&GetProcAddress)>();
        g_filterCalls.clear();
        ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    }
    const HWND hTray = TrayWnd();
    ASSERT_EQ(g_filterCalls.size(), 1u);
    EXPECT_EQ(g_filterCalls[0].hWnd, hTray);
    EXPECT_EQ(g_filterCalls[0].uMessage, TaskbarCreatedMessage());
    EXPECT_EQ(g_filterCalls[0].dwAction, static_cast<DWORD>(MSGFLT_ALLOW));

    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hTray;
    nid.uID = 1000;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &nid)) << "Init showed the icon";
    ASSERT_FALSE(IconShown(hTray));

    DebugOutputCapture capture;
    ASSERT_TRUE(PostMessageA(HWND_BROADCAST, TaskbarCreatedMessage(), 0, 0));
    EXPECT_TRUE(PumpUntil([&] { return IconShown(hTray); }));
    EXPECT_FALSE(capture.Contains("ReCreateTrayIcon() Failed !"));
}
