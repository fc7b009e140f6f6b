// CHLinkCtrl: a static text control of a dialog that draws and behaves as a link. The static
// draws its own text; the link supplies font, colour and background when the static asks its
// parent for colours, handles the mouse, opens its target through the shell, and offers a
// context menu (open, copy the address, Internet shortcuts in Favorites or on the Desktop,
// properties). It is attached to an existing static item by subclassing (DDX_Control).
//
// Keyboard and screen-reader users reach it as well: the link is a tab stop, Enter and Space
// open it, Shift+F10 and the menu key open its menu, a focus rectangle shows around its text
// while it has the focus (unless the system hides focus cues), and it answers screen readers
// with its own accessible object. Under high contrast its text takes the system's hyperlink
// colour.
#pragma once

#include "Framework.h"
#include "LinkState.h"

class CHLinkAccessible;

class CHLinkCtrl : public CStatic
{
    friend class CHLinkAccessible;

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
    CFont m_fontLink;  // underlined copy of the static's font, made again for each new font
    BOOL m_bContextMenu;
    CHLinkAccessible* m_pAccessible; // made at a screen reader's first question; one reference
    DWORD m_dwAddedOnAttach;         // style bits the link gave the static when it was attached

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
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnFocusChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateUIState(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void PreSubclassWindow() override;
    void OnNcDestroyed() override;

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
    // The colour the text is drawn in now: the state's, or the system's under high contrast.
    COLORREF GetTextColor() const;
    // The focus rectangle shows: the link has the focus and the system shows focus cues.
    bool ShowsFocusRect();
    void DrawFocusRectangle();
    // Repaints the dialog behind the link, then the link: the static paints no background,
    // so a focus rectangle that goes away must be painted over by its parent.
    void RedrawBehind();
    // Tells screen readers that the link's state (visited, hovered) changed.
    void NotifyStateChange();
    // Cuts the accessible object off from the link (the window or the object is going).
    void ReleaseAccessible();
};
