#include "ResultAlert.h"

// The accessible object: role alert, named by the last announcement (the window's text
// before the first one), of medium alert level while a result is shown (a report the user
// asked for, neither a mere notice nor a danger); everything else is the system's answer for
// the static.
class CResultAlert::CAlertAccessible : public CAccessible
{
public:
    explicit CAlertAccessible(CResultAlert* pAlert)
        : CAccessible(pAlert->m_hWnd),
          m_pAlert(pAlert)
    {
    }

protected:
    HRESULT GetRole(VARIANT* pvarRole) override { return LongVariant(ROLE_SYSTEM_ALERT, pvarRole); }
    HRESULT GetName(BSTR* pszName) override
    {
        if (m_pAlert->m_strAnnouncement.IsEmpty())
            return GetWindowTextBstr(pszName);
        return AnsiToBstr(m_pAlert->m_strAnnouncement, pszName);
    }
    HRESULT GetState(VARIANT* pvarState) override
    {
        const HRESULT hr = CAccessible::GetState(pvarState);
        if (SUCCEEDED(hr) && pvarState->vt == VT_I4 && !m_pAlert->m_strAnnouncement.IsEmpty())
            pvarState->lVal |= STATE_SYSTEM_ALERT_MEDIUM;
        return hr;
    }

private:
    CResultAlert* m_pAlert; // valid while connected: the control disconnects the object
};

BEGIN_MESSAGE_MAP(CResultAlert, CStatic)
    ON_MESSAGE(WM_GETOBJECT, OnGetObject)
END_MESSAGE_MAP()

CResultAlert::CResultAlert()
    : m_pAccessible(nullptr)
{
}

CResultAlert::~CResultAlert()
{
    ReleaseAccessible();
}

void CResultAlert::Announce(const CString& strText)
{
    m_strAnnouncement = strText;
    if (m_hWnd)
        ::NotifyWinEvent(EVENT_SYSTEM_ALERT, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}

LRESULT CResultAlert::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT)
        return Default();
    if (!m_pAccessible)
        m_pAccessible = new CAlertAccessible(this);
    const LRESULT lResult = m_pAccessible->Serve(wParam);
    return lResult ? lResult : Default();
}

void CResultAlert::OnNcDestroyed()
{
    ReleaseAccessible();
    CStatic::OnNcDestroyed();
}

void CResultAlert::ReleaseAccessible()
{
    if (!m_pAccessible)
        return;
    m_pAccessible->Disconnect();
    m_pAccessible->Release();
    m_pAccessible = nullptr;
}
