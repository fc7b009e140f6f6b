// CAccessible: the accessible object (MSAA IAccessible) a control serves for its client area
// when a screen reader asks its window (WM_GETOBJECT, OBJID_CLIENT). It is built over the
// system's standard object for the window, which keeps answering location, parent,
// navigation, children, hit tests and focus; a derived class answers what tells the control
// apart (role, name, value, state, keyboard shortcut, default action) for the window itself.
//
// The object is reference-counted and may be held by clients in other processes after its
// window is gone: the control calls Disconnect when its window is destroyed, and every call
// after that fails with CO_E_OBJNOTCONNECTED instead of touching the control.
//
// oleacc.dll is not among the system's known DLLs: it is loaded from the system folder at the
// first WM_GETOBJECT, never imported.
#pragma once

#include <windows.h>
#include <oleacc.h>

class CAccessible : public IAccessible, public IOleWindow
{
    // Data members
private:
    LONG m_cRef = 1;
    HWND m_hWnd;              // cleared by Disconnect
    IAccessible* m_pStandard; // the system's object for the window; may be null

    // Construction
public:
    // Creates the standard object for the client area of hWnd. The caller holds the first
    // reference.
    explicit CAccessible(HWND hWnd);
    CAccessible(const CAccessible&) = delete;
    CAccessible& operator=(const CAccessible&) = delete;

    // Operations
    // The answer to WM_GETOBJECT for OBJID_CLIENT (wParam as the message brought it); 0 when
    // the object cannot be handed out, and the window's standard answer should be given.
    LRESULT Serve(WPARAM wParam);
    // The window is being destroyed: lets go of the standard object and of remote clients.
    void Disconnect();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: no type information; clients call the IAccessible members directly.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                               DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(LONG* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(LONG flagsSelect, VARIANT varChild) override;
    STDMETHODIMP accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                             VARIANT varChild) override;
    STDMETHODIMP accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
    STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
    STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;

    // IOleWindow: the window the object stands for.
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL fEnterMode) override;

    // Overridables: answers for the window itself (CHILDID_SELF), asked only while the window
    // exists. Each default passes the question to the standard object.
protected:
    virtual ~CAccessible();
    virtual HRESULT GetName(BSTR* pszName);
    virtual HRESULT GetValue(BSTR* pszValue);
    virtual HRESULT GetRole(VARIANT* pvarRole);
    virtual HRESULT GetState(VARIANT* pvarState);
    virtual HRESULT GetKeyboardShortcut(BSTR* pszKeyboardShortcut);
    virtual HRESULT GetDefaultAction(BSTR* pszDefaultAction);
    virtual HRESULT DoDefaultAction();

    // Implementation
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The window's text as a string for the client (ANSI text of the system code page).
    HRESULT GetWindowTextBstr(BSTR* psz) const;
    // An ANSI text of the system code page as a string for the client; null for null.
    static HRESULT AnsiToBstr(const char* psz, BSTR* pbstr);
    // A VT_I4 variant.
    static HRESULT LongVariant(LONG lValue, VARIANT* pvar);

private:
    // What a call gets when it cannot be answered: CO_E_OBJNOTCONNECTED once the window is
    // gone, DISP_E_MEMBERNOTFOUND when the system gave no standard object.
    HRESULT Unanswered() const;
    static bool IsSelf(const VARIANT& varChild);
    // CHILDID_SELF as a variant.
    static VARIANT Self();
};
