// The decisions of a hyperlink control, free of any window: its hover state, what a mouse
// move means, its text colour (also under high contrast), whether a static's colour request
// is drawn as a link, which keys open it, what it tells a screen reader about its state, and
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
inline constexpr std::uint32_t kStaticNotifyStyle = 0x0100;   // SS_NOTIFY
inline constexpr std::uint32_t kTabStopStyle = 0x00010000;    // WS_TABSTOP
inline constexpr std::uint32_t kStaticTypeMask = 0x00FF;      // type and SS_NOPREFIX
inline constexpr std::uint32_t kStaticRightType = 0x0002;     // SS_RIGHT; SS_LEFT 0
inline constexpr std::uint32_t kStaticCenterType = 0x0001;    // SS_CENTER
inline constexpr std::uint32_t kStaticNoPrefixStyle = 0x0080; // SS_NOPREFIX

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

    // Opened successfully at least once, hovered or not.
    bool IsVisited() const
    {
        return m_nState == LINK_VISITED || (m_nState == LINK_HOVER && m_nSavedState == LINK_VISITED);
    }
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

// The colours a link draws with: its own three, and the system's hyperlink colour.
struct LinkColors
{
    LinkColor crNormal = kLinkNormalColor;
    LinkColor crVisited = kLinkVisitedColor;
    LinkColor crHover = kLinkHoverColor;
    LinkColor crHotLight = 0; // COLOR_HOTLIGHT of the running system
};

// The text colour as drawn: under high contrast the system's hyperlink colour in every state
// (the theme chose it to stand out on its background), else the colour of the state.
LinkColor LinkTextColor(bool bHighContrast, int nState, const LinkColors& colors);

// A static bound to a link becomes a tab stop, so the keyboard reaches it in template order,
// and shows its text as written (SS_NOPREFIX): an "&" in a set-file text such as "Mail R&D"
// is no mnemonic, which would give Alt+D to the control after the link and be announced as
// the link's shortcut.
inline std::uint32_t LinkStyleOnAttach(std::uint32_t dwStyle)
{
    return dwStyle | kTabStopStyle | kStaticNoPrefixStyle;
}

// A colour request finds the static without SS_NOTIFY: the style must be written back with it.
inline bool LinkStyleLacksNotify(std::uint32_t dwStyle)
{
    return (dwStyle & kStaticNotifyStyle) == 0;
}

inline std::uint32_t LinkStyleWithNotify(std::uint32_t dwStyle)
{
    return dwStyle | kStaticNotifyStyle;
}

// Only plain left, centred or right text is drawn as a link; any other type, or an
// SS_NOPREFIX of the template's own, leaves the static to the parent's ordinary colouring.
// dwAddedOnAttach: the bits LinkStyleOnAttach added to this static, which do not count.
inline bool LinkStyleDrawsAsLink(std::uint32_t dwStyle, std::uint32_t dwAddedOnAttach = 0)
{
    return (dwStyle & ~dwAddedOnAttach & kStaticTypeMask) <= kStaticRightType;
}

// A context menu asked for from the keyboard arrives with the point (-1, -1).
inline bool IsKeyboardMenuPoint(LinkPoint pt)
{
    return pt.x == -1 && pt.y == -1;
}

// Where such a menu opens: 5 pixels right of and below the top-left corner of the link's
// client area (rcClientOnScreen in screen coordinates).
LinkPoint KeyboardMenuPoint(const LinkRect& rcClientOnScreen);

// Where the focus rectangle goes: around text of nTextWidth x nTextHeight pixels that the
// static lays out from the top of its client area, aligned by its style type (left, centred,
// right), one pixel wider and higher than the text, and never outside the client area.
LinkRect FocusRectAroundText(const LinkRect& rcClient, int nTextWidth, int nTextHeight,
                             std::uint32_t dwStyle);

// Keys a focused link handles itself: Enter and Space open it, as a click does, and are
// not left to the dialog (which would press its default button).
inline constexpr unsigned kKeyReturn = 0x0D; // VK_RETURN, also the character '\r'
inline constexpr unsigned kKeySpace = 0x20;  // VK_SPACE, also the character ' '

inline bool IsLinkOpenKey(unsigned nKey)
{
    return nKey == kKeyReturn || nKey == kKeySpace;
}

// A key press opens the link once: held down, its repeats (previous state down) do not.
inline bool KeyDownOpensLink(unsigned nVirtKey, bool bRepeat)
{
    return IsLinkOpenKey(nVirtKey) && !bRepeat;
}

// Accessible state bits (STATE_SYSTEM_*) a link reports.
inline constexpr std::uint32_t kAccUnavailable = 0x00000001;
inline constexpr std::uint32_t kAccFocused = 0x00000004;
inline constexpr std::uint32_t kAccHotTracked = 0x00000080;
inline constexpr std::uint32_t kAccInvisible = 0x00008000;
inline constexpr std::uint32_t kAccFocusable = 0x00100000;
inline constexpr std::uint32_t kAccLinked = 0x00400000;
inline constexpr std::uint32_t kAccTraversed = 0x00800000;

// What the window says about the link beyond its own state.
struct LinkWindowFacts
{
    bool bFocused = false;
    bool bVisible = true;
    bool bEnabled = true;
};

// The state a screen reader is told: always a focusable link; focused, visited (traversed),
// hovered (hot-tracked), hidden (invisible) and disabled (unavailable) as they are.
std::uint32_t LinkAccessibleState(const LinkState& state, const LinkWindowFacts& facts);
