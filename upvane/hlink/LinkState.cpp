#include "LinkState.h"

#include <algorithm>

namespace {

// Offset of a keyboard-invoked menu from the link's top-left corner.
constexpr int kKeyboardMenuOffset = 5;

} // namespace

bool LinkRectContains(const LinkRect& rc, LinkPoint pt)
{
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

bool LinkState::SetHover(bool bHover)
{
    if (bHover) {
        if (m_nState == LINK_HOVER)
            return false;
        m_nSavedState = m_nState;
        m_nState = LINK_HOVER;
        return true;
    }
    if (m_nState != LINK_HOVER)
        return false;
    m_nState = m_nSavedState;
    return true;
}

HoverMove DecideHoverMove(const LinkState& state, const LinkRect& rcClient, LinkPoint pt, bool bHoldsCapture)
{
    const bool bInside = LinkRectContains(rcClient, pt);
    const bool bHovered = state.m_nState == LINK_HOVER;
    if (bInside && !bHovered)
        return HoverMove::Enter;
    if (!bInside && (bHovered || bHoldsCapture))
        return HoverMove::Leave;
    return HoverMove::None;
}

LinkColor LinkColorForState(int nState, LinkColor crNormal, LinkColor crVisited, LinkColor crHover)
{
    switch (nState) {
    case LINK_VISITED:
        return crVisited;
    case LINK_HOVER:
        return crHover;
    default:
        return crNormal;
    }
}

LinkColor LinkTextColor(bool bHighContrast, int nState, const LinkColors& colors)
{
    if (bHighContrast)
        return colors.crHotLight;
    return LinkColorForState(nState, colors.crNormal, colors.crVisited, colors.crHover);
}

std::uint32_t LinkAccessibleState(const LinkState& state, const LinkWindowFacts& facts)
{
    std::uint32_t dwState = kAccLinked | kAccFocusable;
    if (facts.bFocused)
        dwState |= kAccFocused;
    if (state.IsVisited())
        dwState |= kAccTraversed;
    if (state.m_nState == LINK_HOVER)
        dwState |= kAccHotTracked;
    if (!facts.bVisible)
        dwState |= kAccInvisible;
    if (!facts.bEnabled)
        dwState |= kAccUnavailable;
    return dwState;
}

LinkRect FocusRectAroundText(const LinkRect& rcClient, int nTextWidth, int nTextHeight, std::uint32_t dwStyle)
{
    const int nClientWidth = rcClient.right - rcClient.left;
    int nLeft = rcClient.left;
    switch (dwStyle & kStaticTypeMask & ~kStaticNoPrefixStyle) {
    case kStaticCenterType:
        nLeft += (nClientWidth - nTextWidth) / 2;
        break;
    case kStaticRightType:
        nLeft += nClientWidth - nTextWidth - 1;
        break;
    default:
        break;
    }
    LinkRect rc = {nLeft, rcClient.top, nLeft + nTextWidth + 1, rcClient.top + nTextHeight + 1};
    rc.left = std::max(rc.left, rcClient.left);
    rc.top = std::max(rc.top, rcClient.top);
    rc.right = std::min(rc.right, rcClient.right);
    rc.bottom = std::min(rc.bottom, rcClient.bottom);
    return rc;
}

LinkPoint KeyboardMenuPoint(const LinkRect& rcClientOnScreen)
{
    return {rcClientOnScreen.left + kKeyboardMenuOffset, rcClientOnScreen.top + kKeyboardMenuOffset};
}
