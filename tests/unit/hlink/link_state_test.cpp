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

TEST(LinkColourRequest, HighContrastTakesTheSystemHyperlinkColourInEveryState)
{
    LinkColors colors;
    colors.crHotLight = 0x00FFFF00; // a theme's hyperlink colour, unlike any of the three
    const struct
    {
        bool bHighContrast;
        int nState;
        LinkColor expected;
    } cases[] = {
        {false, LINK_NORMAL, kLinkNormalColor}, {false, LINK_VISITED, kLinkVisitedColor},
        {false, LINK_HOVER, kLinkHoverColor},   {true, LINK_NORMAL, 0x00FFFF00},
        {true, LINK_VISITED, 0x00FFFF00},       {true, LINK_HOVER, 0x00FFFF00},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinkTextColor(c.bHighContrast, c.nState, colors), c.expected)
            << c.bHighContrast << c.nState;
}

TEST(LinkAccessibility, StateTellsFocusVisitHoverVisibilityAndAvailability)
{
    const std::uint32_t kLink = kAccLinked | kAccFocusable;
    LinkState state;
    EXPECT_EQ(LinkAccessibleState(state, {}), kLink);
    EXPECT_EQ(LinkAccessibleState(state, {true, false, false}),
              kLink | kAccFocused | kAccInvisible | kAccUnavailable);
    state.SetHover(true);
    EXPECT_EQ(LinkAccessibleState(state, {}), kLink | kAccHotTracked);
    state.MarkVisited(); // opened while hovered: visited, no longer hot-tracked
    EXPECT_EQ(LinkAccessibleState(state, {}), kLink | kAccTraversed);
    state.SetHover(true); // hovered again: visited is only saved, and still told
    EXPECT_EQ(LinkAccessibleState(state, {}), kLink | kAccTraversed | kAccHotTracked);
}

TEST(LinkKeyboard, EnterAndSpaceOpenOncePerPressAndLinksBecomeTabStopsWithoutMnemonics)
{
    EXPECT_TRUE(KeyDownOpensLink(0x0D, false));
    EXPECT_TRUE(KeyDownOpensLink(0x20, false));
    EXPECT_FALSE(KeyDownOpensLink(0x0D, true));  // held down: repeats open nothing more
    EXPECT_FALSE(KeyDownOpensLink(0x09, false)); // Tab stays the dialog's
    EXPECT_FALSE(KeyDownOpensLink(0x79, false)); // F10
    // WS_TABSTOP and SS_NOPREFIX: an "&" in the text is shown, not taken as a mnemonic.
    EXPECT_EQ(LinkStyleOnAttach(0x50000000), 0x50010080u);
    EXPECT_EQ(LinkStyleOnAttach(0x50010181), 0x50010181u);
    EXPECT_EQ(LinkStyleOnAttach(0x5000000B), 0x5001008Bu); // SS_SIMPLE shows text too
}

TEST(LinkKeyboard, FocusRectangleFramesTheTextAsTheStaticAlignsIt)
{
    const LinkRect client = {0, 0, 100, 20};
    const auto expect = [](LinkRect rc, LinkRect want) {
        EXPECT_EQ(rc.left, want.left);
        EXPECT_EQ(rc.top, want.top);
        EXPECT_EQ(rc.right, want.right);
        EXPECT_EQ(rc.bottom, want.bottom);
    };
    expect(FocusRectAroundText(client, 60, 13, 0x50000000), {0, 0, 61, 14});            // SS_LEFT
    expect(FocusRectAroundText(client, 60, 13, 0x50000080), {0, 0, 61, 14});            // SS_NOPREFIX
    expect(FocusRectAroundText(client, 60, 13, 0x50000001), {20, 0, 81, 14});           // SS_CENTER
    expect(FocusRectAroundText(client, 60, 13, 0x50000002), {39, 0, 100, 14});          // SS_RIGHT
    expect(FocusRectAroundText(client, 140, 30, 0x50000000), {0, 0, 100, 20});          // clipped
    expect(FocusRectAroundText({10, 5, 110, 25}, 60, 13, 0x50000001), {30, 5, 91, 19}); // offset
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
    // The SS_NOPREFIX a link gives itself does not count; the template's own still does.
    for (std::uint32_t dwTemplate : {0x50000000u, 0x50000001u, 0x50000002u, 0x50000080u, 0x5000000Bu}) {
        const std::uint32_t dwAttached = LinkStyleOnAttach(dwTemplate);
        EXPECT_EQ(LinkStyleDrawsAsLink(dwTemplate),
                  LinkStyleDrawsAsLink(dwAttached, dwAttached & ~dwTemplate))
            << std::hex << dwTemplate;
    }
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
