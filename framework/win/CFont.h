// CFont: an owned GDI font, deleted with the object.
#pragma once

#include "CGdiObject.h"

class CFont : public CGdiObject<HFONT>
{
public:
    // Operations
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont)
    {
        Attach(::CreateFontIndirectA(lpLogFont));
        return GetSafeHandle() ? TRUE : FALSE;
    }
    operator HFONT() const { return GetSafeHandle(); }
};
