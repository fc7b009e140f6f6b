// CFont: an owned GDI font, deleted with the object.
#pragma once

#include <windows.h>

class CFont
{
    // Data members
private:
    HFONT m_hFont = nullptr;

    // Construction
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    ~CFont() { DeleteObject(); }

    // Operations
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont)
    {
        DeleteObject();
        m_hFont = ::CreateFontIndirectA(lpLogFont);
        return m_hFont ? TRUE : FALSE;
    }
    BOOL DeleteObject()
    {
        if (!m_hFont)
            return FALSE;
        ::DeleteObject(m_hFont);
        m_hFont = nullptr;
        return TRUE;
    }
    // Takes ownership of `hFont`, deleting the font held before.
    void Attach(HFONT hFont)
    {
        DeleteObject();
        m_hFont = hFont;
    }
    // Gives up ownership: the caller deletes the font.
    HFONT Detach()
    {
        HFONT hFont = m_hFont;
        m_hFont = nullptr;
        return hFont;
    }
    HFONT GetSafeHandle() const { return m_hFont; }
    operator HFONT() const { return m_hFont; }
};
