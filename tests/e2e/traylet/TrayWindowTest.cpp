// The hidden window, the owner window's close behaviour, clicks, commands and the context menu.
#include "ImportPatch.h"
#include "MenuWatcher.h"
#include "TrayletFixture.h"

#include <utility>

namespace {

decltype(&InsertMenuItemA) g_pfnRealInsertMenuItem = nullptr;
// The size and the mask of each menu-entry record Traylet inserts.
std::vector<std::pair<UINT, UINT>> g_menuItemRecords;

BOOL WINAPI RecordInsertMenuItem(HMENU hMenu, UINT uItem, BOOL bByPosition, LPCMENUITEMINFOA pInfo)
{
    g_menuItemRecords.emplace_back(pInfo->cbSize, pInfo->fMask);
    return g_pfnRealInsertMenuItem(hMenu, uItem, bByPosition, pInfo);
}

} // namespace

TEST_F(TrayletTest, InitMakesHiddenWindowIconAndEntryThatShutdownPartlyUndoes)
{
    TrayManager* pManager = NewManager();
    const HMENU hSub = menu.Submenu();
    const int nItems = GetMenuItemCount(hSub);

    {
        ImportPatch patch(lib.hModule, "user32.dll", "InsertMenuItemA",
                          reinterpret_cast<void*>(RecordInsertMenuItem));
        ASSERT_TRUE(patch.IsActive());
        g_pfnRealInsertMenuItem = patch.Original<decltype(&InsertMenuItemA)>();
        g_menuItemRecords.clear();
        ASSERT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    }
    const std::vector<std::pair<UINT, UINT>> idAndText{{kMenuItemRecordSize, MIIM_ID | MIIM_STRING}};
    EXPECT_EQ(g_menuItemRecords, idAndText);
    const HWND hTray = TrayWnd();
    ASSERT_NE(hTray, nullptr);
    EXPECT_FALSE(IsWindowVisible(hTray));
    EXPECT_EQ(GetPropA(hTray, "TrayManagerObj"), pManager);
    EXPECT_TRUE(IconShown(hTray));
    EXPECT_EQ(pManager->GetOwnerWnd(), owner.Wnd());
    EXPECT_EQ(pManager->GetPopupMenu(), hSub);
    EXPECT_EQ(GetMenuItemCount(hSub), nItems + 1);
    EXPECT_EQ(GetMenuItemID(hSub, nItems), kCmdOpen);
    EXPECT_EQ(LastItemText(hSub), "Open Quillory");
    // No item data: a client that looks up its entries by their data finds none on ours.
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    mii.dwItemData = 1;
    ASSERT_TRUE(GetMenuItemInfoA(hSub, nItems, TRUE, &mii));
    EXPECT_EQ(mii.dwItemData, 0u);

    EXPECT_EQ(pManager->Shutdown(), 1);
    EXPECT_TRUE(TrayWindows().empty());
    EXPECT_FALSE(IconShown(hTray));
    // The entry and the owner's close behaviour stay.
    EXPECT_EQ(CountCommand(hSub, kCmdOpen), 1);
    SendMessageA(owner.Wnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(owner.Wnd()));
    EXPECT_EQ(owner.Count(WM_CLOSE), 0);
}

TEST_F(TrayletTest, CloseHidesOwnerWhileOtherMessagesReachItsProcedure)
{
    ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    ASSERT_TRUE(IsWindowVisible(owner.Wnd()));
    // The owner's own procedure, kept whole (a pointer cut to 32 bits would not compare).
    EXPECT_EQ(GetPropA(owner.Wnd(), "WNDPROC"), reinterpret_cast<HANDLE>(owner.OwnProc()));

    EXPECT_EQ(SendMessageA(owner.Wnd(), WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindowVisible(owner.Wnd()));
    EXPECT_TRUE(IsWindow(owner.Wnd()));
    EXPECT_EQ(owner.Count(WM_CLOSE), 0);

    EXPECT_EQ(SendMessageA(owner.Wnd(), TestOwner::kPing, 0, 0), TestOwner::kPingAnswer);
    EXPECT_EQ(owner.Count(TestOwner::kPing), 1);
}

TEST_F(TrayletTest, LeftPressOnIconAndOpenCommandShowOwner)
{
    ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    const HWND hTray = TrayWnd();
    ShowWindow(owner.Wnd(), SW_HIDE);

    SendMessageA(hTray, kCallbackMessage, kIconId, WM_LBUTTONUP);
    SendMessageA(hTray, kCallbackMessage, kIconId + 1, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(owner.Wnd())) << "only the press on icon 1000 acts";
    EXPECT_EQ(SendMessageA(hTray, kCallbackMessage, kIconId, WM_LBUTTONDOWN), 0);
    EXPECT_TRUE(IsWindowVisible(owner.Wnd()));

    ShowWindow(owner.Wnd(), SW_HIDE);
    EXPECT_EQ(SendMessageA(hTray, WM_COMMAND, kCmdOpen, 0), 0);
    EXPECT_TRUE(IsWindowVisible(owner.Wnd()));
}

TEST_F(TrayletTest, MenuCommandsAreForwardedOrDestroyOwnerAndOthersIgnored)
{
    ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    const HWND hTray = TrayWnd();

    // Forwarded before SendMessageA returns, with lParam 0.
    EXPECT_EQ(SendMessageA(hTray, WM_COMMAND, TestMenu::kCmdClient, 0), 0);
    ASSERT_EQ(owner.Count(WM_COMMAND), 1);
    const RecordedMessage& forwarded = owner.Messages().back();
    EXPECT_EQ(forwarded.uMsg, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(forwarded.wParam, TestMenu::kCmdClient);
    EXPECT_EQ(forwarded.lParam, 0);

    // Accelerators (high word 1) and control notifications (lParam set) are ignored.
    ShowWindow(owner.Wnd(), SW_HIDE);
    EXPECT_EQ(SendMessageA(hTray, WM_COMMAND, MAKEWPARAM(TestMenu::kCmdClient, 1), 0), 0);
    EXPECT_EQ(SendMessageA(hTray, WM_COMMAND, TestMenu::kCmdClient, reinterpret_cast<LPARAM>(hTray)), 0);
    EXPECT_EQ(SendMessageA(hTray, WM_COMMAND, kCmdOpen, reinterpret_cast<LPARAM>(hTray)), 0);
    EXPECT_EQ(SendMessageA(hTray, WM_COMMAND, MAKEWPARAM(kCmdDestroy, 1), 0), 0);
    EXPECT_EQ(owner.Count(WM_COMMAND), 1);
    EXPECT_FALSE(IsWindowVisible(owner.Wnd()));
    ASSERT_TRUE(IsWindow(owner.Wnd()));

    const HWND hOwner = owner.Wnd();
    EXPECT_EQ(SendMessageA(hTray, WM_COMMAND, kCmdDestroy, 0), 0);
    EXPECT_FALSE(IsWindow(hOwner));
    EXPECT_EQ(owner.Count(WM_NCDESTROY), 1);
}

// The foreground window when the menu loop began, as the hidden window was told of it.
HWND g_hForegroundAtMenuStart = nullptr;

LRESULT CALLBACK NoteForegroundAtMenuStart(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* pCall = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pCall->message == WM_ENTERMENULOOP)
        g_hForegroundAtMenuStart = GetForegroundWindow();
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(TrayletTest, RightButtonReleaseOpensContextMenuWhoseEntryShowsOwner)
{
    ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    const HWND hTray = TrayWnd();
    SetForegroundWindow(owner.Wnd());
    ASSERT_EQ(GetForegroundWindow(), owner.Wnd());
    ShowWindow(owner.Wnd(), SW_HIDE);
    ASSERT_NE(GetForegroundWindow(), hTray);

    {
        MenuWatcher watcher(MenuWatcher::Action::Cancel, 500);
        SendMessageA(hTray, kCallbackMessage, kIconId, WM_RBUTTONDOWN);
        watcher.Join();
        EXPECT_FALSE(watcher.Seen()) << "the press opens no menu";
    }

    g_hForegroundAtMenuStart = nullptr;
    const HHOOK hHook =
        SetWindowsHookExA(WH_CALLWNDPROC, NoteForegroundAtMenuStart, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hHook);
    MenuWatcher watcher(MenuWatcher::Action::ChooseLast, 5000);
    EXPECT_EQ(SendMessageA(hTray, kCallbackMessage, kIconId, WM_RBUTTONUP), 0);
    watcher.Join();
    UnhookWindowsHookEx(hHook);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Menu(), menu.Submenu());
    // The hidden window is in the foreground when its menu opens and while it is open, so that
    // a click elsewhere closes the menu.
    EXPECT_EQ(g_hForegroundAtMenuStart, hTray);
    EXPECT_EQ(watcher.Foreground(), hTray);
    // The chosen "Open Quillory" arrives as a posted command.
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(owner.Wnd()) != FALSE; }));
}
