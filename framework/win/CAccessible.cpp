#include "CAccessible.h"

#include <ole2.h>

#include "SystemLibrary.h"

namespace {

// oleacc.dll, loaded from the system folder at the first question of a screen reader, and
// kept until the program ends. At namespace scope: a function's static would bring in the
// runtime's guarded initialisation, and with it its exception machinery.
CSystemLibrary g_oleAcc("oleacc.dll");

CSystemLibrary& OleAcc()
{
    return g_oleAcc;
}

} // namespace

// Construction

CAccessible::CAccessible(HWND hWnd)
    : m_hWnd(hWnd),
      m_pStandard(nullptr)
{
    auto pfnCreate = OleAcc().GetProc<LPFNCREATESTDACCESSIBLEOBJECT>("CreateStdAccessibleObject");
    if (!pfnCreate
        || FAILED(
            pfnCreate(hWnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&m_pStandard))))
        m_pStandard = nullptr;
}

CAccessible::~CAccessible()
{
    if (m_pStandard)
        m_pStandard->Release();
}

// Operations

LRESULT CAccessible::Serve(WPARAM wParam)
{
    auto pfnLresult = OleAcc().GetProc<LPFNLRESULTFROMOBJECT>("LresultFromObject");
    if (!pfnLresult || !m_hWnd)
        return 0;
    const LRESULT lResult = pfnLresult(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this));
    // A failure comes back as a negative HRESULT.
    return lResult > 0 ? lResult : 0;
}

void CAccessible::Disconnect()
{
    m_hWnd = nullptr;
    if (m_pStandard) {
        m_pStandard->Release();
        m_pStandard = nullptr;
    }
    // Remote clients' stubs let go of their references; their later calls fail in COM.
    ::CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

// IUnknown

STDMETHODIMP CAccessible::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible))
        *ppv = static_cast<IAccessible*>(this);
    else if (riid == IID_IOleWindow)
        *ppv = static_cast<IOleWindow*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAccessible::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_cRef));
}

STDMETHODIMP_(ULONG) CAccessible::Release()
{
    const LONG cRef = ::InterlockedDecrement(&m_cRef);
    if (cRef == 0)
        delete this;
    return static_cast<ULONG>(cRef);
}

// IDispatch

STDMETHODIMP CAccessible::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// IAccessible: what the standard object answers

STDMETHODIMP CAccessible::get_accParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = nullptr;
    return m_pStandard ? m_pStandard->get_accParent(ppdispParent) : Unanswered();
}

STDMETHODIMP CAccessible::get_accChildCount(LONG* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = 0;
    return m_pStandard ? m_pStandard->get_accChildCount(pcountChildren) : Unanswered();
}

STDMETHODIMP CAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = nullptr;
    return m_pStandard ? m_pStandard->get_accChild(varChild, ppdispChild) : Unanswered();
}

STDMETHODIMP CAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    if (!pszDescription)
        return E_POINTER;
    *pszDescription = nullptr;
    return m_pStandard ? m_pStandard->get_accDescription(varChild, pszDescription) : Unanswered();
}

STDMETHODIMP CAccessible::get_accHelp(VARIANT varChild, BSTR* pszHelp)
{
    if (!pszHelp)
        return E_POINTER;
    *pszHelp = nullptr;
    return m_pStandard ? m_pStandard->get_accHelp(varChild, pszHelp) : Unanswered();
}

STDMETHODIMP CAccessible::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic)
{
    if (!pszHelpFile || !pidTopic)
        return E_POINTER;
    *pszHelpFile = nullptr;
    *pidTopic = 0;
    return m_pStandard ? m_pStandard->get_accHelpTopic(pszHelpFile, varChild, pidTopic) : Unanswered();
}

STDMETHODIMP CAccessible::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    if (!pszKeyboardShortcut)
        return E_POINTER;
    *pszKeyboardShortcut = nullptr;
    if (m_hWnd && IsSelf(varChild))
        return GetKeyboardShortcut(pszKeyboardShortcut);
    return m_pStandard ? m_pStandard->get_accKeyboardShortcut(varChild, pszKeyboardShortcut) : Unanswered();
}

STDMETHODIMP CAccessible::get_accFocus(VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    return m_pStandard ? m_pStandard->get_accFocus(pvarChild) : Unanswered();
}

STDMETHODIMP CAccessible::get_accSelection(VARIANT* pvarChildren)
{
    if (!pvarChildren)
        return E_POINTER;
    ::VariantInit(pvarChildren);
    return m_pStandard ? m_pStandard->get_accSelection(pvarChildren) : Unanswered();
}

STDMETHODIMP CAccessible::accSelect(LONG flagsSelect, VARIANT varChild)
{
    return m_pStandard ? m_pStandard->accSelect(flagsSelect, varChild) : Unanswered();
}

STDMETHODIMP CAccessible::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                      VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    return m_pStandard ? m_pStandard->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild)
                       : Unanswered();
}

STDMETHODIMP CAccessible::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
    if (!pvarEndUpAt)
        return E_POINTER;
    ::VariantInit(pvarEndUpAt);
    return m_pStandard ? m_pStandard->accNavigate(navDir, varStart, pvarEndUpAt) : Unanswered();
}

STDMETHODIMP CAccessible::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    return m_pStandard ? m_pStandard->accHitTest(xLeft, yTop, pvarChild) : Unanswered();
}

STDMETHODIMP CAccessible::put_accName(VARIANT, BSTR)
{
    return m_hWnd ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP CAccessible::put_accValue(VARIANT, BSTR)
{
    return m_hWnd ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

// IAccessible: what the derived class answers for the window itself

STDMETHODIMP CAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    if (!pszName)
        return E_POINTER;
    *pszName = nullptr;
    if (m_hWnd && IsSelf(varChild))
        return GetName(pszName);
    return m_pStandard ? m_pStandard->get_accName(varChild, pszName) : Unanswered();
}

STDMETHODIMP CAccessible::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    if (!pszValue)
        return E_POINTER;
    *pszValue = nullptr;
    if (m_hWnd && IsSelf(varChild))
        return GetValue(pszValue);
    return m_pStandard ? m_pStandard->get_accValue(varChild, pszValue) : Unanswered();
}

STDMETHODIMP CAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_POINTER;
    ::VariantInit(pvarRole);
    if (m_hWnd && IsSelf(varChild))
        return GetRole(pvarRole);
    return m_pStandard ? m_pStandard->get_accRole(varChild, pvarRole) : Unanswered();
}

STDMETHODIMP CAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_POINTER;
    ::VariantInit(pvarState);
    if (m_hWnd && IsSelf(varChild))
        return GetState(pvarState);
    return m_pStandard ? m_pStandard->get_accState(varChild, pvarState) : Unanswered();
}

STDMETHODIMP CAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (!pszDefaultAction)
        return E_POINTER;
    *pszDefaultAction = nullptr;
    if (m_hWnd && IsSelf(varChild))
        return GetDefaultAction(pszDefaultAction);
    return m_pStandard ? m_pStandard->get_accDefaultAction(varChild, pszDefaultAction) : Unanswered();
}

STDMETHODIMP CAccessible::accDoDefaultAction(VARIANT varChild)
{
    if (m_hWnd && IsSelf(varChild))
        return DoDefaultAction();
    return m_pStandard ? m_pStandard->accDoDefaultAction(varChild) : Unanswered();
}

// IOleWindow

STDMETHODIMP CAccessible::GetWindow(HWND* phwnd)
{
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_hWnd;
    return m_hWnd ? S_OK : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP CAccessible::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

// Overridables

HRESULT CAccessible::GetName(BSTR* pszName)
{
    return m_pStandard ? m_pStandard->get_accName(Self(), pszName) : GetWindowTextBstr(pszName);
}

HRESULT CAccessible::GetValue(BSTR* pszValue)
{
    return m_pStandard ? m_pStandard->get_accValue(Self(), pszValue) : Unanswered();
}

HRESULT CAccessible::GetRole(VARIANT* pvarRole)
{
    return m_pStandard ? m_pStandard->get_accRole(Self(), pvarRole) : Unanswered();
}

HRESULT CAccessible::GetState(VARIANT* pvarState)
{
    return m_pStandard ? m_pStandard->get_accState(Self(), pvarState) : Unanswered();
}

HRESULT CAccessible::GetKeyboardShortcut(BSTR* pszKeyboardShortcut)
{
    return m_pStandard ? m_pStandard->get_accKeyboardShortcut(Self(), pszKeyboardShortcut) : Unanswered();
}

HRESULT CAccessible::GetDefaultAction(BSTR* pszDefaultAction)
{
    return m_pStandard ? m_pStandard->get_accDefaultAction(Self(), pszDefaultAction) : Unanswered();
}

HRESULT CAccessible::DoDefaultAction()
{
    return m_pStandard ? m_pStandard->accDoDefaultAction(Self()) : Unanswered();
}

// Implementation

HRESULT CAccessible::GetWindowTextBstr(BSTR* psz) const
{
    const int nLen = ::GetWindowTextLengthA(m_hWnd);
    char* pszText = new char[nLen + 1];
    pszText[::GetWindowTextA(m_hWnd, pszText, nLen + 1)] = '\0';
    const HRESULT hr = AnsiToBstr(pszText, psz);
    delete[] pszText;
    return hr;
}

HRESULT CAccessible::AnsiToBstr(const char* psz, BSTR* pbstr)
{
    *pbstr = nullptr;
    if (!psz)
        return S_FALSE;
    const int cch = ::MultiByteToWideChar(CP_ACP, 0, psz, -1, nullptr, 0);
    if (cch <= 0)
        return E_FAIL;
    // The length counts the terminator, which SysAllocStringLen adds itself.
    BSTR bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(cch - 1));
    if (!bstr)
        return E_OUTOFMEMORY;
    ::MultiByteToWideChar(CP_ACP, 0, psz, -1, bstr, cch);
    *pbstr = bstr;
    return S_OK;
}

HRESULT CAccessible::LongVariant(LONG lValue, VARIANT* pvar)
{
    ::VariantInit(pvar);
    pvar->vt = VT_I4;
    pvar->lVal = lValue;
    return S_OK;
}

VARIANT CAccessible::Self()
{
    VARIANT var;
    LongVariant(CHILDID_SELF, &var);
    return var;
}

HRESULT CAccessible::Unanswered() const
{
    return m_hWnd ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

bool CAccessible::IsSelf(const VARIANT& varChild)
{
    return varChild.vt == VT_I4 && varChild.lVal == CHILDID_SELF;
}
