// CMenu: a menu handle, destroyed with the object when the object loaded it; submenus and
// menus lent by others are borrowed.
#pragma once

#include <windows.h>

class CMenu
{
    // Data members
private:
    HMENU m_hMenu = nullptr;
    bool m_bOwned = false;

    // Construction
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    CMenu(CMenu&& other) noexcept
        : m_hMenu(other.m_hMenu),
          m_bOwned(other.m_bOwned)
    {
        other.m_hMenu = nullptr;
        other.m_bOwned = false;
    }
    ~CMenu() { DestroyMenu(); }

    // A borrowed wrapper: the object never destroys this menu.
    static CMenu Borrow(HMENU hMenu)
    {
        CMenu menu;
        menu.m_hMenu = hMenu;
        return menu;
    }

    // Operations
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();
    CMenu GetSubMenu(int nPos) const { return Borrow(::GetSubMenu(m_hMenu, nPos)); }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hWndOwner) const
    {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWndOwner, nullptr);
    }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
};
