// CBitmap: an owned GDI bitmap, deleted with the object.
#pragma once

#include "CGdiObject.h"

class CBitmap : public CGdiObject<HBITMAP>
{
public:
    // Operations
    // Loads a bitmap resource as a device-dependent bitmap (compressed resources included).
    BOOL LoadBitmap(HINSTANCE hInst, UINT nIDResource)
    {
        Attach(
            static_cast<HBITMAP>(::LoadImageA(hInst, MAKEINTRESOURCEA(nIDResource), IMAGE_BITMAP, 0, 0, 0)));
        return GetSafeHandle() ? TRUE : FALSE;
    }
    // Width and height in pixels; 0 x 0 without a bitmap.
    SIZE GetSize() const
    {
        BITMAP bm = {};
        if (!GetSafeHandle() || !::GetObjectA(GetSafeHandle(), sizeof(bm), &bm))
            return SIZE{0, 0};
        return SIZE{bm.bmWidth, bm.bmHeight};
    }
};
