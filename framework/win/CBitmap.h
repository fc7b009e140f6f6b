// CBitmap: an owned GDI bitmap, deleted with the object.
#pragma once

#include <windows.h>

class CBitmap
{
    // Data members
private:
    HBITMAP m_hBitmap = nullptr;

    // Construction
public:
    CBitmap() = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    ~CBitmap() { DeleteObject(); }

    // Operations
    // Loads a bitmap resource as a device-dependent bitmap (compressed resources included).
    BOOL LoadBitmap(HINSTANCE hInst, UINT nIDResource)
    {
        Attach(
            static_cast<HBITMAP>(::LoadImageA(hInst, MAKEINTRESOURCEA(nIDResource), IMAGE_BITMAP, 0, 0, 0)));
        return m_hBitmap ? TRUE : FALSE;
    }
    // Takes ownership of `hBitmap`, deleting the bitmap held before.
    void Attach(HBITMAP hBitmap)
    {
        DeleteObject();
        m_hBitmap = hBitmap;
    }
    BOOL DeleteObject()
    {
        if (!m_hBitmap)
            return FALSE;
        ::DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
        return TRUE;
    }
    // Width and height in pixels; 0 x 0 without a bitmap.
    SIZE GetSize() const
    {
        BITMAP bm = {};
        if (!m_hBitmap || !::GetObjectA(m_hBitmap, sizeof(bm), &bm))
            return SIZE{0, 0};
        return SIZE{bm.bmWidth, bm.bmHeight};
    }
    HBITMAP GetSafeHandle() const { return m_hBitmap; }
};
