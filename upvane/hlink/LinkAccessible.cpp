#include "LinkAccessible.h"

#include "HLinkCtrl.h"
#include "resource.h"

namespace {

// The system's word for following a link, as screen readers know it from the system's own
// link controls. No system call gives this text, so it stands here.
const char kJumpAction[] = "Jump";

} // namespace

CHLinkAccessible::CHLinkAccessible(CHLinkCtrl* pLink)
    : CAccessible(pLink->m_hWnd),
      m_pLink(pLink)
{
}

HRESULT CHLinkAccessible::GetName(BSTR* pszName)
{
    return GetWindowTextBstr(pszName);
}

HRESULT CHLinkAccessible::GetValue(BSTR* pszValue)
{
    // The address as the link hands it to the shell.
    return AnsiToBstr(m_pLink->m_strURL, pszValue);
}

HRESULT CHLinkAccessible::GetRole(VARIANT* pvarRole)
{
    return LongVariant(ROLE_SYSTEM_LINK, pvarRole);
}

HRESULT CHLinkAccessible::GetState(VARIANT* pvarState)
{
    HWND hWnd = GetSafeHwnd();
    LinkWindowFacts facts;
    facts.bFocused = ::GetFocus() == hWnd;
    facts.bVisible = ::IsWindowVisible(hWnd) != FALSE;
    facts.bEnabled = ::IsWindowEnabled(hWnd) != FALSE;
    return LongVariant(static_cast<LONG>(LinkAccessibleState(m_pLink->m_state, facts)), pvarState);
}

HRESULT CHLinkAccessible::GetKeyboardShortcut(BSTR* pszKeyboardShortcut)
{
    // The text is shown as written: an "&" in it is no mnemonic, whatever the system's object
    // would read into it, so the link has no shortcut to announce.
    *pszKeyboardShortcut = nullptr;
    return S_FALSE;
}

HRESULT CHLinkAccessible::GetDefaultAction(BSTR* pszDefaultAction)
{
    return AnsiToBstr(kJumpAction, pszDefaultAction);
}

HRESULT CHLinkAccessible::DoDefaultAction()
{
    // Posted, as a click posts it: the open runs after this call has returned to the client.
    return ::PostMessageA(GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(ID_HLINK_OPEN, 0), 0) ? S_OK : E_FAIL;
}
