// CWnd: a C++ object bound to a window. Windows of the framework's own classes and existing
// controls that it subclasses route their messages through the object's message map.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "AfxTypes.h"
#include "CString.h"
#include "MessageMap.h"
#include "RuntimeClass.h"

class CDataExchange;

class CWnd : public CObject
{
    DECLARE_DYNAMIC(CWnd)

    // Data members
public:
    HWND m_hWnd = nullptr;

protected:
    WNDPROC m_pfnSuper = nullptr; // the procedure the window had before we subclassed it
    MSG m_currentMsg = {};        // the message being dispatched, for Default()
private:
    // Borrowed wrappers for windows that have no object of their own (GetDlgItem, GetParent).
    std::map<HWND, std::unique_ptr<CWnd>> m_tempWnds;

    // Construction
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    // Routes an existing window's messages through this object's message map.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    // Binds the object to a window without routing its messages.
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // The object routing this window's messages, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // That object, or a borrowed wrapper that lives as long as this object.
    CWnd* FromHandleTemp(HWND hWnd);

    // Operations
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    CWnd* GetDlgItem(int nID);
    CWnd* GetParent();
    void SetWindowText(const char* lpszString);
    void GetWindowText(CString& rString) const;
    void SetDlgItemText(int nID, const char* lpszString);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    DWORD GetStyle() const;
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    CWnd* SetCapture();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HFONT GetFont() const;
    BOOL DestroyWindow();

    // Exchanges data between the object and its controls; false on a failed validation.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Message handling
    // The standard processing of the message being dispatched.
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The framework's window procedure for every window it routes.
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Lets the child a notification concerns answer it first (colour requests).
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The window is gone: unbind the object.
    virtual void OnNcDestroyed();
    // The object is about to route an existing window's messages (SubclassWindow): a control
    // adjusts the window's style here.
    virtual void PreSubclassWindow();

    // Default processing of the handlers that message maps name.
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnContextMenu(CWnd* pWnd, CPoint pos);

private:
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};
