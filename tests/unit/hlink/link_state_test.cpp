#include <gtest/gtest.h>

#include <vector>

#include "LinkState.h"

namespace {

// A link of 100 x 16 pixels, as GetClientRect reports it.
constexpr LinkRect kClient = {0, 0, 100, 16};

// The hover side of a link: applies the mouse-move decision the way the control does and
// records the repaints it asks for, with the colour each repaint shows.
struct LinkUnderTest
{
    LinkState state;
    bool bCaptured = false;
    int nRepaints = 0;
    std::vector<LinkColor> colours;

    void Hover(bool bHover)
    {
        if (state.SetHover(bHover)) {
            ++nRepaints;
            colours.push_back(
                LinkColorForState(state.m_nState, kLinkNormalColor, kLinkVisitedColor, kLinkHoverColor));
        }
    }

    void MoveTo(int x, int y)
    {
        switch (DecideHoverMove(state, kClient, {x, y}, bCaptured)) {
        case HoverMove::Enter:
            bCaptured = true;
            Hover(true);
            break;
        case HoverMove::Leave:
            Hover(false);
            bCaptured = false;
            break;
        case HoverMove::None:
            break;
        }
    }
};

TEST(LinkHover, InAroundAndOutRepaintsTwice)
{
    LinkUnderTest link;
    link.MoveTo(10, 5);
    EXPECT_TRUE(link.bCaptured);
    EXPECT_EQ(link.state.m_nState, LINK_HOVER);
    link.MoveTo(50, 8);
    link.MoveTo(99, 15);
    link.MoveTo(0, 0);
    link.MoveTo(150, 8); // outside, seen through the capture
    EXPECT_FALSE(link.bCaptured);
    EXPECT_EQ(link.state.m_nState, LINK_NORMAL);
    EXPECT_EQ(link.nRepaints, 2);
    EXPECT_EQ(link.colours, (std::vector<LinkColor>{kLinkHoverColor, kLinkNormalColor}));
    link.MoveTo(160, 8); // further moves outside change nothing
    EXPECT_EQ(link.nRepaints, 2);
}

TEST(LinkHover, RightAndBottomEdgesAreOutside)
{
    LinkUnderTest link;
    link.MoveTo(100, 5);
    link.MoveTo(5, 16);
    EXPECT_EQ(link.nRepaints, 0);
    link.MoveTo(0, 15);
    EXPECT_EQ(link.state.m_nState, LINK_HOVER);
    // Under capture the coordinates go negative when the pointer leaves left or above.
    link.MoveTo(-1, 5);
    EXPECT_EQ(link.state.m_nState, LINK_NORMAL);
    link.MoveTo(5, 0);
    link.MoveTo(5, -3);
    EXPECT_EQ(link.nRepaints, 4);
}

TEST(LinkHover, SuccessfulOpenWhileHoveredKeepsSavedStateWithoutRepaint)
{
    LinkUnderTest link;
    link.MoveTo(10, 5);
    link.state.MarkVisited();
    EXPECT_EQ(link.state.m_nState, LINK_VISITED);
    EXPECT_EQ(link.state.m_nSavedState, LINK_NORMAL);
    EXPECT_EQ(link.nRepaints, 1);

    // Still captured from the first entry; the next move inside enters hover again with
    // the visited state saved, and leaving shows purple.
    link.MoveTo(12, 6);
    EXPECT_EQ(link.state.m_nState, LINK_HOVER);
    EXPECT_EQ(link.state.m_nSavedState, LINK_VISITED);
    link.MoveTo(-5, 6);
    EXPECT_EQ(link.state.m_nState, LINK_VISITED);
    EXPECT_EQ(link.colours.back(), kLinkVisitedColor);
    EXPECT_EQ(link.nRepaints, 3);
}

TEST(LinkHover, FirstMoveAfterAnOpenBeingOutsideReleasesTheCapture)
{
    // The capture taken on entry outlives the hover state that the open replaced; a move
    // outside must still let it go, without repainting the visited link.
    LinkUnderTest link;
    link.MoveTo(10, 5);
    link.state.MarkVisited();
    link.MoveTo(300, 5);
    EXPECT_FALSE(link.bCaptured);
    EXPECT_EQ(link.state.m_nState, LINK_VISITED);
    EXPECT_EQ(link.nRepaints, 1);
    link.MoveTo(10, 5); // entering again hovers as before, and leaving shows purple
    link.MoveTo(-1, 5);
    EXPECT_FALSE(link.bCaptured);
    EXPECT_EQ(link.colours, (std::vector<LinkColor>{kLinkHoverColor, kLinkHoverColor, kLinkVisitedColor}));
}

TEST(LinkHover, FailedOpenLeavesTheLinkBlueAndOpeningAgainStaysVisited)
{
    LinkUnderTest failed;
    failed.MoveTo(10, 5); // hovered, then an open that fails changes nothing
    failed.MoveTo(200, 5);
    EXPECT_EQ(failed.colours.back(), kLinkNormalColor);

    LinkUnderTest visited;
    visited.state.MarkVisited();
    visited.state.MarkVisited();
    visited.MoveTo(10, 5);
    visited.MoveTo(200, 5);
    EXPECT_EQ(visited.state.m_nState, LINK_VISITED);
    EXPECT_EQ(visited.colours, (std::vector<LinkColor>{kLinkHoverColor, kLinkVisitedColor}));
}

TEST(LinkHover, UnhoverWithoutHoverAndHoverTwiceAskForNothing)
{
    // The context menu leaves hover whether or not the link was hovered.
    LinkState state;
    EXPECT_FALSE(state.SetHover(false));
    EXPECT_EQ(state.m_nState, LINK_NORMAL);
    EXPECT_TRUE(state.SetHover(true));
    EXPECT_FALSE(state.SetHover(true));
    EXPECT_EQ(state.m_nSavedState, LINK_NORMAL);
    EXPECT_TRUE(state.SetHover(false));
    EXPECT_FALSE(state.SetHover(false));
    EXPECT_EQ(state.m_nState, LINK_NORMAL);
}

TEST(LinkColourRequest, OnlyPlainTextTypesAreDrawnAsLinks)
{
    const std::uint32_t kChildVisible = 0x50000000;                 // WS_CHILD | WS_VISIBLE
    EXPECT_TRUE(LinkStyleDrawsAsLink(kChildVisible | 0x0));         // SS_LEFT
    EXPECT_TRUE(LinkStyleDrawsAsLink(kChildVisible | 0x1));         // SS_CENTER
    EXPECT_TRUE(LinkStyleDrawsAsLink(kChildVisible | 0x2 | 0x100)); // SS_RIGHT | SS_NOTIFY
    EXPECT_TRUE(LinkStyleDrawsAsLink(0x0 | 0x1000));                // SS_SUNKEN is above the low byte
    EXPECT_FALSE(LinkStyleDrawsAsLink(kChildVisible | 0x3));        // SS_ICON
    EXPECT_FALSE(LinkStyleDrawsAsLink(kChildVisible | 0xB));        // SS_SIMPLE
    EXPECT_FALSE(LinkStyleDrawsAsLink(kChildVisible | 0xC));        // SS_LEFTNOWORDWRAP
    EXPECT_FALSE(LinkStyleDrawsAsLink(kChildVisible | 0x10));       // SS_ETCHEDHORZ
    EXPECT_FALSE(LinkStyleDrawsAsLink(kChildVisible | 0x80));       // SS_LEFT | SS_NOPREFIX
    EXPECT_FALSE(LinkStyleDrawsAsLink(kChildVisible | 0x81));       // SS_CENTER | SS_NOPREFIX
}

TEST(LinkColourRequest, NotifyIsAddedWhereMissingAndNothingElseChanges)
{
    const std::uint32_t dwStatic = 0x50020080; // WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX
    EXPECT_TRUE(LinkStyleLacksNotify(dwStatic));
    EXPECT_EQ(LinkStyleWithNotify(dwStatic), 0x50020180u);
    EXPECT_FALSE(LinkStyleLacksNotify(LinkStyleWithNotify(dwStatic)));
    EXPECT_FALSE(LinkStyleLacksNotify(0x0100));
}

TEST(LinkContextMenu, KeyboardRequestOpensFivePixelsIntoTheClientArea)
{
    EXPECT_TRUE(IsKeyboardMenuPoint({-1, -1}));
    // Other points, negative ones of a monitor left of the primary included, are mouse points.
    EXPECT_FALSE(IsKeyboardMenuPoint({-1, 0}));
    EXPECT_FALSE(IsKeyboardMenuPoint({0, -1}));
    EXPECT_FALSE(IsKeyboardMenuPoint({-2, -2}));

    const LinkPoint pt = KeyboardMenuPoint({310, 420, 410, 436});
    EXPECT_EQ(pt.x, 315);
    EXPECT_EQ(pt.y, 425);
    const LinkPoint ptLeft = KeyboardMenuPoint({-800, -20, -700, -4});
    EXPECT_EQ(ptLeft.x, -795);
    EXPECT_EQ(ptLeft.y, -15);
}

} // namespace
