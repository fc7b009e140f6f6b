// CDC: a device context lent to a handler (not owned).
#pragma once

#include <windows.h>

class CFont;

class CDC
{
public:
    HDC m_hDC = nullptr;

    explicit CDC(HDC hDC)
        : m_hDC(hDC)
    {
    }

    HFONT SelectObject(CFont* pFont);
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
};
