// The exports' argument checks and the faults a client can run into: no memory, a second Init,
// release without Shutdown, a failed store of the owner's previous procedure, missing pieces,
// a menu or an owner that other code has already used.
#include "ImportPatch.h"
#include "MenuWatcher.h"
#include "TrayletFixture.h"

namespace {

LPVOID WINAPI NoMemory(HANDLE, DWORD, SIZE_T)
{
    return nullptr;
}

decltype(&SetPropA) g_pfnRealSetProp = nullptr;

// A procedure the client puts on its owner after Init, passing everything on.
WNDPROC g_pfnBelowLaterProc = nullptr;

LRESULT CALLBACK LaterProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_pfnBelowLaterProc, hWnd, uMsg, wParam, lParam);
}

// The property whose store fails.
const char* g_pszFailingProp = nullptr;

BOOL WINAPI FailOneProperty(HWND hWnd, LPCSTR pszName, HANDLE hData)
{
    if (!IS_INTRESOURCE(pszName) && lstrcmpA(pszName, g_pszFailingProp) == 0)
        return FALSE;
    return g_pfnRealSetProp(hWnd, pszName, hData);
}

// A failed store of either copy of the owner's previous procedure; "WNDPROC" may already hold
// a value of other code.
struct FailedStore
{
    const char* pszName;
    const char* pszProp;
    WNDPROC pfnEarlierValue;
};

void PrintTo(const FailedStore& store, std::ostream* pOut)
{
    *pOut << store.pszName;
}

class FailedStoreTest : public TrayletTest, public ::testing::WithParamInterface<FailedStore>
{};

} // namespace

TEST(TrayletExports, NullArgumentsGiveZero)
{
    const TrayletLibrary& lib = TrayletLibrary::Get();
    EXPECT_EQ(lib.pfnCreate(nullptr), 0);
    EXPECT_EQ(lib.pfnDestroy(nullptr), 0);
    TrayManager* pNone = nullptr;
    EXPECT_EQ(lib.pfnDestroy(&pNone), 1);
}

TEST(TrayletExports, ExhaustedMemoryStoresNullAndReportsFailure)
{
    const TrayletLibrary& lib = TrayletLibrary::Get();
    int stale = 0;
    auto* pManager = reinterpret_cast<TrayManager*>(&stale); // must be overwritten
    {
        ImportPatch patch(lib.hModule, "kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(NoMemory));
        ASSERT_TRUE(patch.IsActive());
        EXPECT_EQ(lib.pfnCreate(&pManager), 0);
    }
    EXPECT_EQ(pManager, nullptr);
}

TEST_F(TrayletTest, NullOwnerLeavesMenuAloneButShowsIcon)
{
    TrayManager* pManager = NewManager();
    EXPECT_EQ(pManager->Init(nullptr, icon, "Quillory", menu.Menu()), 0);
    EXPECT_TRUE(IconShown(TrayWnd()));
    EXPECT_EQ(CountCommand(menu.Submenu(), kCmdOpen), 0);
    EXPECT_EQ(pManager->Shutdown(), 1);
}

TEST_F(TrayletTest, MenuWithoutSubmenuShowsNoMenuAndShutdownReportsIt)
{
    TestMenu plain(false);
    TrayManager* pManager = NewManager();
    EXPECT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", plain.Menu()), 1);
    const HWND hTray = TrayWnd();
    EXPECT_EQ(pManager->GetPopupMenu(), nullptr);
    EXPECT_EQ(GetMenuItemCount(plain.Menu()), 1);
    EXPECT_EQ(CountCommand(plain.Menu(), kCmdOpen), 0);

    MenuWatcher watcher(MenuWatcher::Action::Cancel, 500);
    SendMessageA(hTray, kCallbackMessage, kIconId, WM_RBUTTONUP);
    watcher.Join();
    EXPECT_FALSE(watcher.Seen());

    EXPECT_EQ(pManager->Shutdown(), 0);
    EXPECT_TRUE(TrayWindows().empty());
    EXPECT_FALSE(IconShown(hTray));
}

TEST_P(FailedStoreTest, PutsOwnerAndPropertiesBack)
{
    const FailedStore& store = GetParam();
    const auto hEarlier = reinterpret_cast<HANDLE>(store.pfnEarlierValue);
    if (hEarlier) {
        ASSERT_TRUE(SetPropA(owner.Wnd(), "WNDPROC", hEarlier));
    }
    TrayManager* pManager = NewManager();
    {
        ImportPatch patch(lib.hModule, "user32.dll", "SetPropA", reinterpret_cast<void*>(FailOneProperty));
        ASSERT_TRUE(patch.IsActive());
        g_pfnRealSetProp = patch.Original<decltype(&SetPropA)>();
        g_pszFailingProp = store.pszProp;
        EXPECT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 0);
    }
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(owner.Wnd(), GWLP_WNDPROC)), owner.OwnProc());
    EXPECT_EQ(GetPropA(owner.Wnd(), "WNDPROC"), hEarlier);
    EXPECT_EQ(GetPropA(owner.Wnd(), "TrayletPrevProc"), nullptr);
    EXPECT_EQ(CountCommand(menu.Submenu(), kCmdOpen), 0);
    EXPECT_TRUE(IconShown(TrayWnd()));

    SendMessageA(owner.Wnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(owner.Count(WM_CLOSE), 1) << "the owner's own procedure handles close again";
    EXPECT_EQ(SendMessageA(owner.Wnd(), TestOwner::kPing, 0, 0), TestOwner::kPingAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Traylet, FailedStoreTest,
    ::testing::Values(FailedStore{"WndProc", "WNDPROC", nullptr},
                      FailedStore{"OwnCopy", "TrayletPrevProc", nullptr},
                      FailedStore{"OwnCopyOverOtherCodesWndProc", "TrayletPrevProc", DefWindowProcA}),
    [](const ::testing::TestParamInfo<FailedStore>& info) { return info.param.pszName; });

TEST_F(TrayletTest, SecondManagerInProcessWorksWithoutChainingOwnerToItself)
{
    TrayManager* pFirst = NewManager();
    ASSERT_EQ(pFirst->Init(owner.Wnd(), icon, "first", menu.Menu()), 1);
    ASSERT_EQ(pFirst->Shutdown(), 1);
    EXPECT_EQ(Release(pFirst), 1);

    TrayManager* pSecond = NewManager();
    EXPECT_EQ(pSecond->Init(owner.Wnd(), icon, "second", menu.Menu()), 1);
    const HWND hTray = TrayWnd();
    EXPECT_EQ(GetPropA(hTray, "TrayManagerObj"), pSecond);
    EXPECT_TRUE(IconShown(hTray));
    EXPECT_EQ(CountCommand(menu.Submenu(), kCmdOpen), 1);

    // A procedure chained to itself would recurse without end on the next message (under Wine
    // that ends the process with exit code 0), so repair the chain before failing.
    const HANDLE hPrevProc = GetPropA(owner.Wnd(), "WNDPROC");
    const auto hOwnProc = reinterpret_cast<HANDLE>(owner.OwnProc());
    if (hPrevProc != hOwnProc)
        SetPropA(owner.Wnd(), "WNDPROC", hOwnProc);
    ASSERT_EQ(hPrevProc, hOwnProc);
    EXPECT_EQ(SendMessageA(owner.Wnd(), TestOwner::kPing, 0, 0), TestOwner::kPingAnswer);
    EXPECT_EQ(owner.Count(TestOwner::kPing), 1);
    SendMessageA(owner.Wnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(owner.Wnd()));
    EXPECT_EQ(owner.Count(WM_CLOSE), 0);
}

TEST_F(TrayletTest, SecondInitOfOneManagerKeepsOneWindow)
{
    TrayManager* pManager = NewManager();
    ASSERT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    EXPECT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    const HWND hTray = TrayWnd();
    EXPECT_EQ(GetPropA(hTray, "TrayManagerObj"), pManager);
    EXPECT_TRUE(IconShown(hTray));
    EXPECT_EQ(CountCommand(menu.Submenu(), kCmdOpen), 1);
}

TEST_F(TrayletTest, ClientsOwnCommand9000KeepsNeitherTheEntryOutNorLetsItInTwice)
{
    const HMENU hSub = menu.Submenu();
    ASSERT_TRUE(AppendMenuA(hSub, MF_STRING, kCmdOpen, "Client's own"));
    const int nItems = GetMenuItemCount(hSub);

    TrayManager* pFirst = NewManager();
    ASSERT_EQ(pFirst->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    EXPECT_EQ(GetMenuItemCount(hSub), nItems + 1);
    EXPECT_EQ(GetMenuItemID(hSub, nItems), kCmdOpen);
    EXPECT_EQ(LastItemText(hSub), "Open Quillory");

    // Again on the same menu, by the same manager and by another one.
    EXPECT_EQ(pFirst->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    ASSERT_EQ(pFirst->Shutdown(), 1);
    TrayManager* pSecond = NewManager();
    EXPECT_EQ(pSecond->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    EXPECT_EQ(GetMenuItemCount(hSub), nItems + 1);
    EXPECT_EQ(CountCommand(hSub, kCmdOpen), 2);
}

TEST_F(TrayletTest, WndprocPropertyOfOtherCodeDoesNotStopCloseMeansHide)
{
    // Some other code keeps its own value under the same property name.
    ASSERT_TRUE(SetPropA(owner.Wnd(), "WNDPROC", reinterpret_cast<HANDLE>(DefWindowProcA)));

    ASSERT_EQ(NewManager()->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    // The property holds what the library put there: the owner's own procedure.
    EXPECT_EQ(GetPropA(owner.Wnd(), "WNDPROC"), reinterpret_cast<HANDLE>(owner.OwnProc()));
    SendMessageA(owner.Wnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(owner.Wnd()));
    EXPECT_FALSE(IsWindowVisible(owner.Wnd()));
    EXPECT_EQ(owner.Count(WM_CLOSE), 0) << "closing reached the owner's procedure";
    EXPECT_EQ(SendMessageA(owner.Wnd(), TestOwner::kPing, 0, 0), TestOwner::kPingAnswer);
}

TEST_F(TrayletTest, SecondInitUnderALaterProcedureDoesNotChainOwnerToItself)
{
    TrayManager* pManager = NewManager();
    ASSERT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    g_pfnBelowLaterProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(owner.Wnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterProc)));
    ASSERT_NE(g_pfnBelowLaterProc, nullptr);

    EXPECT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    // Repair a chain that loops before failing, as above.
    const HANDLE hPrevProc = GetPropA(owner.Wnd(), "WNDPROC");
    const auto hOwnProc = reinterpret_cast<HANDLE>(owner.OwnProc());
    if (hPrevProc != hOwnProc)
        SetPropA(owner.Wnd(), "WNDPROC", hOwnProc);
    ASSERT_EQ(hPrevProc, hOwnProc);
    EXPECT_EQ(GetWindowLongPtrA(owner.Wnd(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(LaterProc));
    EXPECT_EQ(SendMessageA(owner.Wnd(), TestOwner::kPing, 0, 0), TestOwner::kPingAnswer);
    SendMessageA(owner.Wnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(owner.Wnd()));
    EXPECT_EQ(owner.Count(WM_CLOSE), 0);
}

TEST_F(TrayletTest, ReleaseWithoutShutdownLeavesNoWindowBehind)
{
    TrayManager* pManager = NewManager();
    ASSERT_EQ(pManager->Init(owner.Wnd(), icon, "Quillory", menu.Menu()), 1);
    const HWND hTray = TrayWnd();

    EXPECT_EQ(Release(pManager), 1);
    EXPECT_TRUE(TrayWindows().empty());
    EXPECT_FALSE(IconShown(hTray));
    // A shell restart afterwards finds nothing of the released manager. The marker is posted
    // to this thread after the broadcast, so once it has arrived the broadcast was handled.
    ASSERT_TRUE(PostMessageA(HWND_BROADCAST, TaskbarCreatedMessage(), 0, 0));
    ASSERT_TRUE(PostMessageA(owner.Wnd(), TestOwner::kPing, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return owner.Count(TestOwner::kPing) == 1; }));
    EXPECT_EQ(owner.Count(TaskbarCreatedMessage()), 1) << "the owner's own procedure gets the broadcast";
    EXPECT_TRUE(TrayWindows().empty());
    EXPECT_FALSE(IconShown(hTray));
}
