// Reading and driving the windows, menus, clipboard and pixels of another program.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "Capabilities.h"
#include "Clipboard.h"
#include "Files.h"
#include "Menu.h"
#include "Paths.h"
#include "Pixels.h"
#include "Process.h"
#include "TempDir.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {
namespace {

constexpr unsigned kTimeoutMs = 10000;
constexpr int kPressId = 101;
constexpr int kStaticId = 102;
constexpr int kProgressId = 103;
constexpr COLORREF kBlockColour = RGB(255, 0, 255);
constexpr int kBlockWidth = 64;
constexpr int kBlockHeight = 32;

class ChildWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        child = Process::Start(QS_DELIVERABLE(E2E_DRIVER_CHILD), "window \"Driver child\"");
        ASSERT_TRUE(child.Started());
        window = child.WaitForTopWindow("QsDriverChild", "Driver child", kTimeoutMs);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(child.WaitForInputIdle(kTimeoutMs));
    }

    Process child;
    HWND window = nullptr;
};

TEST_F(ChildWindowTest, ControlsAreReadThroughMessages)
{
    const HWND press = Child(window, kPressId);
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(ClassName(press), "Button");
    EXPECT_EQ(Text(press), "Press");
    EXPECT_TRUE(IsEnabled(press));
    EXPECT_TRUE(IsVisible(press));
    EXPECT_EQ(Text(Child(window, kStaticId)), "static text");
    EXPECT_EQ(ProgressPos(Child(window, kProgressId)).value_or(-1), 40);
    EXPECT_EQ(ProgressRange(Child(window, kProgressId)).value_or(std::make_pair(-1, -1)),
              std::make_pair(0, 200));
    EXPECT_EQ(FindDescendant(window, "Static", "static text"), Child(window, kStaticId));
    EXPECT_EQ(Descendants(window).size(), 3u);
    const auto windows = child.Windows();
    EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end());
    EXPECT_EQ(child.FindTopWindow("QsDriverChild", "Other title"), nullptr);
}

TEST_F(ChildWindowTest, ClickingTheButtonEndsTheProgramWithItsCode)
{
    ASSERT_TRUE(Click(Child(window, kPressId)));
    ASSERT_TRUE(child.WaitForExit(kTimeoutMs));
    EXPECT_EQ(child.ExitCode().value_or(0), 7u);
    EXPECT_TRUE(WaitForWindowGone(window, kTimeoutMs));
}

TEST_F(ChildWindowTest, ContextMenuItemIsChosenWithKeys)
{
    ASSERT_TRUE(ClearClipboard());
    const POINT at = ScreenCenter(window);
    const HWND menu = OpenContextMenu(window, at, kTimeoutMs);
    ASSERT_NE(menu, nullptr);
    const RECT rect = ScreenRect(menu);
    EXPECT_LE(std::abs(rect.left - at.x), 2);
    EXPECT_LE(std::abs(rect.top - at.y), 2);

    ChooseMenuItem(menu, 1); // "Copy": the separator does not count
    EXPECT_TRUE(WaitForNoPopupMenu(kTimeoutMs, child.Id()));
    EXPECT_TRUE(WaitUntil([] { return ClipboardText().value_or("") == "copied by child"; }, kTimeoutMs));
    const auto formats = ClipboardFormats();
    EXPECT_NE(std::find(formats.begin(), formats.end(), static_cast<UINT>(CF_TEXT)), formats.end());
    EXPECT_EQ(Text(Child(window, kStaticId)), "static text");
}

TEST_F(ChildWindowTest, ContextMenuClosesWithEscapeOrCancelMode)
{
    HWND menu = OpenContextMenu(window, ScreenCenter(window), kTimeoutMs);
    ASSERT_NE(menu, nullptr);
    DismissMenu(menu);
    EXPECT_TRUE(WaitForNoPopupMenu(kTimeoutMs, child.Id()));

    menu = OpenContextMenu(window, ScreenCenter(window), kTimeoutMs);
    ASSERT_NE(menu, nullptr);
    CancelMenuMode(window);
    EXPECT_TRUE(WaitForNoPopupMenu(kTimeoutMs, child.Id()));

    menu = OpenContextMenu(window, ScreenCenter(window), kTimeoutMs);
    ASSERT_NE(menu, nullptr);
    ChooseMenuItem(menu, 0);
    EXPECT_TRUE(WaitForText(Child(window, kStaticId), "first chosen", kTimeoutMs));
}

TEST_F(ChildWindowTest, DrawnColourIsCountedAndSavedAsBitmap)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    ASSERT_TRUE(WaitUntil([&] { return CountWindowPixels(window, kBlockColour) > 0; }, kTimeoutMs));
    EXPECT_EQ(CountWindowPixels(window, kBlockColour), kBlockWidth * kBlockHeight);

    const RECT client = ClientScreenRect(window);
    EXPECT_EQ(ScreenPixel(client.left + 200, client.top + 10), kBlockColour);
    EXPECT_NE(ScreenPixel(client.left + 199, client.top + 10), kBlockColour);
    const RECT block{client.left + 200, client.top + 10, client.left + 264, client.top + 42};
    EXPECT_EQ(CountPixels(block, kBlockColour), kBlockWidth * kBlockHeight);

    TempDir dir;
    const std::string bmp = JoinPath(dir.Path(), "shot.bmp");
    ASSERT_TRUE(SaveScreenshot(window, bmp));
    const auto bytes = ReadFileBytes(bmp).value_or("");
    const RECT rect = ScreenRect(window);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes.size(), 54u + static_cast<size_t>((width * 3 + 3) & ~3) * height);
}

} // namespace
} // namespace qs::e2e
