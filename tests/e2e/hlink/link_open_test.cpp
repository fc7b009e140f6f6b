// Opening links: a click hands the exact target to the shell's handler, and the drawn colour
// follows hover and the visited state.
#include <gtest/gtest.h>

#include "Capabilities.h"
#include "LinkProgram.h"
#include "UrlRecorder.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e::hlink {
namespace {

// The window holding the mouse capture on `hwnd`'s thread, or nullptr.
HWND CaptureOnThreadOf(HWND hwnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info))
        return nullptr;
    return info.hwndCapture;
}

// A left click at the centre of `hwnd` through the system's input queue, as the user's
// would come: a window holding the capture gets it instead of the one under the pointer.
bool InputLeftClick(HWND hwnd)
{
    const POINT centre = ScreenCenter(hwnd);
    if (!SetCursorPos(centre.x, centre.y))
        return false;
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, input, sizeof(INPUT)) == 2;
}

class LinkOpenTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_recorder.Registered()); }

    UrlRecorder m_recorder;
    LinkSetup m_setup;
};

TEST_F(LinkOpenTest, ClickOpensTheExactTargetOfEachLink)
{
    auto program = LinkProgram::Start(m_setup);
    ASSERT_TRUE(program->Ready());

    ASSERT_TRUE(PostLeftClick(program->SiteLink(), 4, 4));
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
    ASSERT_TRUE(PostLeftClick(program->MailLink(), 4, 4));
    ASSERT_TRUE(m_recorder.WaitForAddresses(2, kTimeoutMs)) << m_recorder.CommandLines().size();
    EXPECT_EQ(m_recorder.Addresses(), (std::vector<std::string>{m_setup.SiteUrl(), m_setup.MailUrl()}));
}

TEST_F(LinkOpenTest, HoverIsRedAndVisitedShowsAtTheNextRepaint)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    auto program = LinkProgram::Start(m_setup);
    ASSERT_TRUE(program->Ready());
    HWND link = program->SiteLink();
    const RECT client = ClientScreenRect(link);
    const int width = client.right - client.left;

    ASSERT_TRUE(WaitForLinkColour(link, kBlue));
    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitForLinkColour(link, kRed));
    PostMouseMove(link, width / 2, 6);  // around inside: stays red
    PostMouseMove(link, width + 20, 6); // out, seen through the capture
    ASSERT_TRUE(WaitForLinkColour(link, kBlue));

    // Opened while hovered: visited, but nothing repaints, so red stays on the screen.
    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitForLinkColour(link, kRed));
    PostLeftClick(link, 5, 5);
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
    ASSERT_TRUE(program->Settle(link, program->MailLink()));
    EXPECT_GT(LinkPixels(link, kRed), 0);
    EXPECT_EQ(LinkPixels(link, kPurple), 0);

    // The next move inside hovers again with the visited state saved; leaving shows purple.
    PostMouseMove(link, 6, 5);
    PostMouseMove(link, -10, 5);
    EXPECT_TRUE(WaitForLinkColour(link, kPurple));

    // A visited link opens again and stays visited.
    PostLeftClick(link, 5, 5);
    ASSERT_TRUE(m_recorder.WaitForAddresses(2, kTimeoutMs));
    PostMouseMove(link, -10, 5);
    EXPECT_TRUE(WaitForLinkColour(link, kPurple));
    EXPECT_EQ(m_recorder.Addresses().back(), m_setup.SiteUrl());

    // The other link was never opened.
    EXPECT_TRUE(WaitForLinkColour(program->MailLink(), kBlue));
}

TEST_F(LinkOpenTest, FirstMoveOutsideAfterAnOpenReleasesTheCapture)
{
    // Hovered, opened, then the pointer goes straight out: the link lets the capture go, so
    // the next click reaches the button under the pointer instead of opening the link again.
    auto program = LinkProgram::Start(m_setup);
    ASSERT_TRUE(program->Ready());
    HWND link = program->SiteLink();
    HWND cancel = Child(program->Dialog(), IDCANCEL);
    ASSERT_NE(cancel, nullptr);
    const RECT client = ClientScreenRect(link);

    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitUntil([&] { return CaptureOnThreadOf(link) == link; }, kTimeoutMs));
    PostLeftClick(link, 5, 5);
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
    PostMouseMove(link, client.right - client.left + 40, 5);
    EXPECT_TRUE(WaitUntil([&] { return CaptureOnThreadOf(link) == nullptr; }, kTimeoutMs))
        << "the link still holds the capture";

    ASSERT_TRUE(InputLeftClick(cancel));
    EXPECT_TRUE(program->process().WaitForExit(kTimeoutMs)) << "Cancel did not close the dialog";
    EXPECT_EQ(m_recorder.Addresses(), std::vector<std::string>{m_setup.SiteUrl()});
    ParkPointer();
}

TEST_F(LinkOpenTest, FailedOpenLeavesTheLinkBlue)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    // No program handles this scheme: both ways of opening fail.
    auto program = LinkProgram::StartHost(LinkSetup(), "1042 \"Nowhere\" \"qsnohandler:nothing\"");
    ASSERT_TRUE(program->Ready());
    HWND link = program->Link(1042);
    ASSERT_TRUE(WaitForLinkColour(link, kBlue));

    ASSERT_TRUE(program->PostCommand(link, kOpenCommand));
    // The site link's open, posted after, has run once its address is recorded.
    ASSERT_TRUE(program->PostCommand(program->SiteLink(), kOpenCommand));
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));

    PostMouseMove(link, 5, 5);
    ASSERT_TRUE(WaitForLinkColour(link, kRed));
    PostMouseMove(link, -10, 5);
    EXPECT_TRUE(WaitForLinkColour(link, kBlue));
    EXPECT_EQ(m_recorder.Addresses(), std::vector<std::string>{m_setup.SiteUrl()});
    EXPECT_TRUE(program->process().Running());
}

} // namespace
} // namespace qs::e2e::hlink
