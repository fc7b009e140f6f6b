#include "CDC.h"

#include "CFont.h"

HFONT CDC::SelectObject(CFont* pFont)
{
    return static_cast<HFONT>(::SelectObject(m_hDC, pFont->GetSafeHandle()));
}
