// The decisions of a hyperlink control, free of any window: its hover state, what a mouse
// move means, its text colour, whether a static's colour request is drawn as a link, and
// where a keyboard-invoked context menu opens. CHLinkCtrl calls these and applies the result.
#pragma once

#include <cstdint>

// Link states.
inline constexpr int LINK_NORMAL = 0;
inline constexpr int LINK_VISITED = 1;
inline constexpr int LINK_HOVER = 2;

// Colours as 0x00BBGGRR (a COLORREF).
using LinkColor = std::uint32_t;
inline constexpr LinkColor kLinkNormalColor = 0x00FF0000;  // blue
inline constexpr LinkColor kLinkVisitedColor = 0x00800080; // purple
inline constexpr LinkColor kLinkHoverColor = 0x000000FF;   // red

// Window style bits of a static control that the colour request looks at.
inline constexpr std::uint32_t kStaticNotifyStyle = 0x0100; // SS_NOTIFY
inline constexpr std::uint32_t kStaticTypeMask = 0x00FF;    // type and SS_NOPREFIX
inline constexpr std::uint32_t kStaticRightType = 0x0002;   // SS_RIGHT; SS_LEFT 0, SS_CENTER 1

struct LinkPoint
{
    int x;
    int y;
};

// A client or screen rectangle: left and top edges inside, right and bottom edges outside.
struct LinkRect
{
    int left;
    int top;
    int right;
    int bottom;
};

bool LinkRectContains(const LinkRect& rc, LinkPoint pt);

// Where the link is and where it returns when hover ends.
struct LinkState
{
    int m_nState = LINK_NORMAL;
    int m_nSavedState = LINK_NORMAL; // only ever LINK_NORMAL or LINK_VISITED

    // Enters (true) or leaves (false) LINK_HOVER. Answers whether the state changed, that is
    // whether the link must repaint.
    bool SetHover(bool bHover);

    // A successful open: the link is visited from now on. The saved state stays as it is and
    // no repaint is due; the colour shows at the next paint.
    void MarkVisited() { m_nState = LINK_VISITED; }
};

// What a mouse move means for hover tracking.
enum class HoverMove {
    None,  // nothing changes
    Enter, // capture the mouse, then SetHover(true)
    Leave, // SetHover(false) (no change unless hovered), then release the capture
};

// The decision for a move to pt (client coordinates, negative while captured) over a link
// whose client rectangle is rcClient; bHoldsCapture tells whether the link has the mouse
// capture. A move outside leaves whenever the link is hovered or holds the capture: after
// a successful open the link is visited but still captured, and the capture must not
// outlive the pointer's stay.
HoverMove DecideHoverMove(const LinkState& state, const LinkRect& rcClient, LinkPoint pt, bool bHoldsCapture);

// The text colour for a state.
LinkColor LinkColorForState(int nState, LinkColor crNormal, LinkColor crVisited, LinkColor crHover);

// A colour request finds the static without SS_NOTIFY: the style must be written back with it.
inline bool LinkStyleLacksNotify(std::uint32_t dwStyle)
{
    return (dwStyle & kStaticNotifyStyle) == 0;
}

inline std::uint32_t LinkStyleWithNotify(std::uint32_t dwStyle)
{
    return dwStyle | kStaticNotifyStyle;
}

// Only plain left, centred or right text is drawn as a link; any other type, or SS_NOPREFIX,
// leaves the static to the parent's ordinary colouring.
inline bool LinkStyleDrawsAsLink(std::uint32_t dwStyle)
{
    return (dwStyle & kStaticTypeMask) <= kStaticRightType;
}

// A context menu asked for from the keyboard arrives with the point (-1, -1).
inline bool IsKeyboardMenuPoint(LinkPoint pt)
{
    return pt.x == -1 && pt.y == -1;
}

// Where such a menu opens: 5 pixels right of and below the top-left corner of the link's
// client area (rcClientOnScreen in screen coordinates).
LinkPoint KeyboardMenuPoint(const LinkRect& rcClientOnScreen);
