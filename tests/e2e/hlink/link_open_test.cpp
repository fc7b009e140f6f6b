// Opening links: a click hands the exact target to the shell's handler, and the drawn colour
// follows hover and the visited state.
#include <gtest/gtest.h>

#include "LinkProgram.h"
#include "UrlRecorder.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e::hlink {
namespace {

class LinkOpenTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_recorder.Registered()); }

  UrlRecorder m_recorder;
  LinkSetup m_setup;
};

TEST_F(LinkOpenTest, ClickOpensTheExactTargetOfEachLink) {
  auto program = LinkProgram::Start(m_setup);
  ASSERT_TRUE(program->Ready());

  ASSERT_TRUE(PostLeftClick(program->SiteLink(), 4, 4));
  ASSERT_TRUE(m_recorder.WaitForAddresses(1, kTimeoutMs));
  ASSERT_TRUE(PostLeftClick(program->MailLink(), 4, 4));
  ASSERT_TRUE(m_recorder.WaitForAddresses(2, kTimeoutMs)) << m_recorder.CommandLines().size();
  EXPECT_EQ(m_recorder.Addresses(),
            (std::vector<std::string>{m_setup.SiteUrl(), m_setup.MailUrl()}));
}

TEST_F(LinkOpenTest, HoverIsRedAndVisitedShowsAtTheNextRepaint) {
  auto program = LinkProgram::Start(m_setup);
  ASSERT_TRUE(program->Ready());
  HWND link = program->SiteLink();
  const RECT client = ClientScreenRect(link);
  const int width = client.right - client.left;

  ASSERT_TRUE(WaitForLinkColour(link, kBlue));
  PostMouseMove(link, 5, 5);
  ASSERT_TRUE(WaitForLinkColour(link, kRed));
  PostMouseMove(link, width / 2, 6);     // around inside: stays red
  PostMouseMove(link, width + 20, 6);    // out, seen through the capture
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

TEST_F(LinkOpenTest, FailedOpenLeavesTheLinkBlue) {
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

}  // namespace
}  // namespace qs::e2e::hlink
