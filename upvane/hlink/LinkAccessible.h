// CHLinkAccessible: what a screen reader learns from a link: a link (role), its text (name),
// its target (value), its state, and "Jump" as the default action, which opens it as a click
// does. Everything else is the system's standard answer for the window.
#pragma once

#include "CAccessible.h"

class CHLinkCtrl;

class CHLinkAccessible : public CAccessible
{
    // Data members
private:
    CHLinkCtrl* m_pLink; // valid while the object is connected: the link disconnects it

    // Construction
public:
    explicit CHLinkAccessible(CHLinkCtrl* pLink);

    // Overridables
protected:
    HRESULT GetName(BSTR* pszName) override;
    HRESULT GetValue(BSTR* pszValue) override;
    HRESULT GetRole(VARIANT* pvarRole) override;
    HRESULT GetState(VARIANT* pvarState) override;
    HRESULT GetKeyboardShortcut(BSTR* pszKeyboardShortcut) override;
    HRESULT GetDefaultAction(BSTR* pszDefaultAction) override;
    HRESULT DoDefaultAction() override;
};
