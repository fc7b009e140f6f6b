// ComRef: one reference to a COM interface, released when the holder goes.
#pragma once

#include <windows.h>

template <class T> class ComRef
{
    // Data members
private:
    T* m_p = nullptr;

    // Construction
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { Reset(); }

    // Operations
    // The slot a creating call fills (CoCreateInstance, QueryInterface, SHGetMalloc, ...).
    // Whatever the holder had is released first.
    void** Receive()
    {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    T** ReceiveTyped()
    {
        Reset();
        return &m_p;
    }

    void Reset()
    {
        if (m_p) {
            m_p->Release();
            m_p = nullptr;
        }
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
};
