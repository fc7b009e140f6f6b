// Owns one open file search (FindFirstFileA) and closes it, on Windows and with the stand-ins.
#pragma once

#include "compat.h"

class FindHandle
{
public:
    explicit FindHandle(HANDLE hFind)
        : m_hFind(hFind)
    {
    }
    ~FindHandle()
    {
        if (IsValid())
            ::FindClose(m_hFind);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool IsValid() const { return m_hFind != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_hFind; }

private:
    HANDLE m_hFind;
};
