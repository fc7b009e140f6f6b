// The Properties command: a modal, read-only sheet with one page.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "Capabilities.h"
#include "LinkProgram.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e::hlink {
namespace {

constexpr int kNameBox = 1005;
constexpr int kUrlBox = 1007;
constexpr int kApplyButton = 0x3021;

class LinkPropertiesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_program = LinkProgram::Start(m_setup);
        ASSERT_TRUE(m_program->Ready());
    }

    HWND OpenSheet(HWND link)
    {
        m_program->PostCommand(link, kPropertiesCommand);
        return m_program->process().WaitForTopWindow("#32770", "Properties", kTimeoutMs);
    }

    LinkSetup m_setup;
    std::unique_ptr<LinkProgram> m_program;
};

TEST_F(LinkPropertiesTest, SheetShowsTheLinkTextAndTargetOnOneGeneralPage)
{
    QS_SKIP_WITHOUT(SheetWithEditFails);
    HWND sheet = OpenSheet(m_program->MailLink());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(GetWindow(sheet, GW_OWNER), m_program->Dialog());
    EXPECT_FALSE(IsEnabled(m_program->Dialog()));

    HWND tab = FindDescendant(sheet, "SysTabControl32", nullptr);
    ASSERT_TRUE(tab);
    EXPECT_EQ(SendWithTimeout(tab, TCM_GETITEMCOUNT), 1);
    EXPECT_EQ(RemoteTabText(tab, 0), "General");

    HWND name = DescendantWithId(sheet, kNameBox);
    HWND url = DescendantWithId(sheet, kUrlBox);
    ASSERT_TRUE(name && url);
    EXPECT_EQ(Text(name), m_setup.mailText);
    EXPECT_EQ(Text(url), m_setup.MailUrl());
    for (HWND box : {name, url}) {
        EXPECT_TRUE(Style(box) & ES_READONLY);
        EXPECT_FALSE(Style(box) & (WS_BORDER | WS_TABSTOP));
    }
    EXPECT_TRUE(Style(name) & ES_MULTILINE);

    // No Apply button to be seen (the sheet may keep a hidden one).
    HWND apply = Child(sheet, kApplyButton);
    EXPECT_TRUE(apply == nullptr || !IsVisible(apply));
    PostClose(sheet);
    EXPECT_TRUE(WaitForWindowGone(sheet, kTimeoutMs));
}

TEST_F(LinkPropertiesTest, ClosingEitherWayChangesNothing)
{
    QS_SKIP_WITHOUT(SheetWithEditFails);
    HWND link = m_program->SiteLink();
    for (int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button);
        HWND sheet = OpenSheet(link);
        ASSERT_TRUE(sheet);
        HWND name = DescendantWithId(sheet, kNameBox);
        ASSERT_TRUE(name);
        // Even edited text goes nowhere.
        SendWithTimeout(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Edited"));
        ASSERT_TRUE(Click(Child(sheet, button)));
        ASSERT_TRUE(WaitForWindowGone(sheet, kTimeoutMs));
        ASSERT_TRUE(WaitUntil([&] { return IsEnabled(m_program->Dialog()); }, kTimeoutMs));

        EXPECT_EQ(Text(link), m_setup.siteText);
        EXPECT_EQ(m_program->CopyShortcut(link), m_setup.SiteUrl());
        EXPECT_TRUE(WaitForLinkColour(link, kBlue));
    }
}

} // namespace
} // namespace qs::e2e::hlink
