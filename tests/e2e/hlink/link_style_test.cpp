// Which statics are drawn as links, how, and that every bound static becomes clickable.
#include <gtest/gtest.h>

#include <algorithm>

#include "Capabilities.h"
#include "HostIds.h"
#include "LinkProgram.h"
#include "Pixels.h"
#include "UrlRecorder.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e::hlink {
namespace {

// The longest horizontal run of `colour` in any row of the link: the underline spans the text.
int LongestRun(HWND link, COLORREF colour)
{
    const auto image = CaptureScreen(ClientScreenRect(link));
    if (!image)
        return -1;
    int longest = 0;
    for (int y = 0; y < image->Height(); ++y) {
        int run = 0;
        for (int x = 0; x < image->Width(); ++x) {
            run = image->At(x, y) == colour ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

const char kExtraLinks[] = "1041 \"Plain text, no prefix\" \"http://noprefix.example/\" "
                           "1042 \"Centred link text\" \"http://centre.example/\" "
                           "1043 \"Link without a font\" \"http://fontless.example/\"";

class LinkStyleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QS_ASSERT_RECORDING(m_recorder);
        m_program = LinkProgram::StartHost(LinkSetup(), kExtraLinks);
        ASSERT_TRUE(m_program->Ready());
    }

    UrlRecorder m_recorder;
    std::unique_ptr<LinkProgram> m_program;
};

TEST_F(LinkStyleTest, TextStaticsAreDrawnUnderlinedInTheLinkColour)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    for (int id : {IDC_HOST_SITELINK, IDC_HOST_CENTRELINK, IDC_HOST_FONTLESSLINK}) {
        SCOPED_TRACE(id);
        HWND link = m_program->Link(id);
        ASSERT_TRUE(link);
        ASSERT_TRUE(WaitForLinkColour(link, kBlue));
        EXPECT_GE(LongestRun(link, kBlue), 40);
    }
    // Hovered, the underline is there as well.
    HWND site = m_program->SiteLink();
    PostMouseMove(site, 3, 3);
    ASSERT_TRUE(WaitForLinkColour(site, kRed));
    EXPECT_GE(LongestRun(site, kRed), 40);
}

// The cursor the program's thread shows after `target` has answered WM_SETCURSOR for a
// pointer over its client area (the program's dialog is in the foreground).
HCURSOR CursorSetBy(HWND target)
{
    SendWithTimeout(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

TEST_F(LinkStyleTest, ThePointerOverALinkIsAHand)
{
    QS_SKIP_WITHOUT(CursorsMissing);
    HWND dialog = m_program->Dialog();
    SetForegroundWindow(dialog);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, kTimeoutMs));
    const HCURSOR arrow = CursorSetBy(dialog);
    ASSERT_TRUE(arrow);
    for (int id : {IDC_HOST_SITELINK, IDC_HOST_NOPREFIXLINK}) {
        SCOPED_TRACE(id);
        const HCURSOR over = CursorSetBy(m_program->Link(id));
        EXPECT_TRUE(over);
        EXPECT_NE(over, arrow);
        // Back over the dialog, the arrow again: the check above saw the link's own choice.
        EXPECT_EQ(CursorSetBy(dialog), arrow);
    }
}

TEST_F(LinkStyleTest, StaticWithNoPrefixIsDrawnPlainButStillActsAsALink)
{
    QS_SKIP_WITHOUT(PaintingUnseen);
    HWND link = m_program->Link(IDC_HOST_NOPREFIXLINK);
    ASSERT_TRUE(link);
    // Once painted it has SS_NOTIFY, yet the parent coloured it as an ordinary static. Its
    // first paint may come after the links the host waits for.
    EXPECT_TRUE(WaitUntil([&] { return (Style(link) & SS_NOTIFY) != 0; }, kTimeoutMs));
    EXPECT_TRUE(Style(link) & SS_NOPREFIX);
    ASSERT_TRUE(WaitUntil([&] { return LinkPixels(link, RGB(0, 0, 0)) > 20; }, kTimeoutMs));
    EXPECT_EQ(LinkPixels(link, kBlue), 0);

    PostMouseMove(link, 3, 3);
    ASSERT_TRUE(m_program->Settle(link, m_program->SiteLink()));
    EXPECT_EQ(LinkPixels(link, kRed), 0);
    EXPECT_GT(LinkPixels(link, RGB(0, 0, 0)), 20);
    PostMouseMove(link, -5, 3);

    PostLeftClick(link, 3, 3);
    ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
    EXPECT_EQ(m_recorder.Addresses(), std::vector<std::string>{"http://noprefix.example/"});
}

} // namespace
} // namespace qs::e2e::hlink
