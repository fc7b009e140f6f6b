// CHLinkCtrl: a static text control of a dialog that draws and behaves as a link. The static
// draws its own text; the link supplies font, colour and background when the static asks its
// parent for colours, handles the mouse, opens its target through the shell, and offers a
// context menu (open, copy the address, Internet shortcuts in Favorites or on the Desktop,
// properties). It is attached to an existing static item by subclassing (DDX_Control).
#pragma once

#include "Framework.h"
#include "LinkState.h"

class CHLinkCtrl : public CStatic
{
    // Data members
protected:
    CString m_strURL;      // the target, exactly as the owner set it
    HCURSOR m_hLinkCursor; // shared cursor: never destroyed
    COLORREF m_crNormal;
    COLORREF m_crVisited;
    COLORREF m_crHover;
    BOOL m_bTrackHover;
    LinkState m_state; // m_nState and m_nSavedState
    BOOL m_bInMenu;    // TRUE only while the context menu is tracked
    CFont m_fontLink;  // underlined copy of the static's font, made once
    BOOL m_bContextMenu;

    // Construction
public:
    CHLinkCtrl();
    ~CHLinkCtrl() override;

    // Operations
    void SetLinkURL(const CString& strURL);
    CString GetLinkURL() const;

    // Message map and handlers
protected:
    void OnContextMenu(CWnd* pWnd, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLinkCopyShortcut();
    void OnLinkProperties();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    void OnLinkOpen();
    void OnLinkAddToFavorites();
    void OnLinkAddToDesktop();
    DECLARE_MESSAGE_MAP()

    // Implementation
protected:
    // Enters or leaves the hover state; repaints when the state changed.
    void SetHover(BOOL bHover);
    // Opens the target under the wait cursor: the Internet-shortcut object first, the shell's
    // "open" only if that failed.
    BOOL OpenLink();
    BOOL InvokeLinkObject();
    BOOL ShellOpenLink();
    // Saves an Internet shortcut to the target in a shell special folder (CSIDL_*).
    BOOL AddLinkToFolder(int nFolder);
    BOOL SaveLinkShortcut(const CString& strPath);

private:
    // The owner window for opening: the parent's handle, or none.
    HWND GetParentHwnd() const;
    // Makes m_fontLink from the static's font (or its dialog's, or the default GUI font).
    void CreateLinkFont();
};
