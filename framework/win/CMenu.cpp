#include "CMenu.h"

#include "CWinApp.h"

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    DestroyMenu();
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(nIDResource), RT_MENU);
    m_hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    m_bOwned = m_hMenu != nullptr;
    return m_hMenu ? TRUE : FALSE;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    BOOL ok = TRUE;
    if (m_bOwned)
        ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    m_bOwned = false;
    return ok;
}
