#include "LinkState.h"

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

LinkPoint KeyboardMenuPoint(const LinkRect& rcClientOnScreen)
{
    return {rcClientOnScreen.left + kKeyboardMenuOffset, rcClientOnScreen.top + kKeyboardMenuOffset};
}
