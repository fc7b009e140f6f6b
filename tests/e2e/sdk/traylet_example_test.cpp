// The SDK's example client, run as an integrator would: it loads Traylet.dll, shows its icon,
// hides on close, receives its own menu commands, and ends cleanly on "Exit".
#include <gtest/gtest.h>

#include "Capabilities.h"
#include "Files.h"
#include "Paths.h"
#include "Process.h"
#include "TempDir.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {
namespace {

TEST(TrayletExample, RunsThroughInitAndShutdownAndEndsOnExit)
{
    TempDir folder("traylet-example-");
    const std::string exe = QS_DELIVERABLE(TRAYLETEXAMPLE);
    ASSERT_TRUE(CopyFileTo(exe, folder.File("TrayletExample.exe")));
    ASSERT_TRUE(CopyFileTo(QS_DELIVERABLE(TRAYLET), folder.File("Traylet.dll")));

    Process example = Process::Start(folder.File("TrayletExample.exe"), "", folder.Path());
    ASSERT_TRUE(example.Started());
    HWND main = example.WaitForTopWindow("TrayletExampleWnd", nullptr, 15000);
    ASSERT_NE(nullptr, main);
    HWND tray = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            tray = example.FindTopWindow("BgTrayServerWnd", nullptr, false);
            return tray != nullptr;
        },
        5000));

    // A command of the client's own menu reaches its window through the tray manager.
    ASSERT_TRUE(PostCommand(tray, 100, 0));
    EXPECT_TRUE(WaitUntil([&] { return Title(main) == "Traylet example: hello from the tray menu"; }, 5000));

    // Closing hides; "Open Quillory" shows it again.
    PostClose(main);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 5000));
    EXPECT_TRUE(example.Running());
    ASSERT_TRUE(PostCommand(tray, 9000, 0));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5000));

    // "Exit" destroys the window; the example then shuts the manager down and releases it,
    // and reports 0 only when Init, Shutdown and DestroyTrayManager all succeeded. The example
    // gives Init the stock icon: where the platform has none, Init rightly reports the missing
    // icon (1) and Shutdown then has no icon to delete (2); DestroyTrayManager must still succeed.
    ASSERT_TRUE(PostCommand(tray, 9001, 0));
    ASSERT_TRUE(example.WaitForExit(10000));
    const std::optional<std::string> noStockIcon = QS_PROBE(StockIconMissing);
    EXPECT_EQ(noStockIcon ? 1u | 2u : 0u, example.ExitCode().value_or(99))
        << (noStockIcon ? "without the stock icon: " + *noStockIcon : std::string());
}

} // namespace
} // namespace qs::e2e
