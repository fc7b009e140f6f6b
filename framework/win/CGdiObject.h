// CGdiObject: the ownership every GDI object of the framework shares: the handle is deleted
// with the object, taking a new one deletes the one held before, and Detach gives it away.
#pragma once

#include <windows.h>

template <class THandle> class CGdiObject
{
    // Data members
private:
    THandle m_hObject = nullptr;

    // Construction
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() { DeleteObject(); }

    // Operations
    // Takes ownership of `hObject`, deleting the object held before.
    void Attach(THandle hObject)
    {
        DeleteObject();
        m_hObject = hObject;
    }
    // Gives up ownership: the caller deletes the object.
    THandle Detach()
    {
        THandle hObject = m_hObject;
        m_hObject = nullptr;
        return hObject;
    }
    BOOL DeleteObject()
    {
        if (!m_hObject)
            return FALSE;
        ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return TRUE;
    }
    THandle GetSafeHandle() const { return m_hObject; }
};
