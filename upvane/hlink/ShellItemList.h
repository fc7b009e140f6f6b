// ShellItemList: an item list the shell handed out, freed with the shell's allocator when the
// holder goes. The allocator is borrowed and must outlive the holder.
#pragma once

#include <windows.h>
#include <shlobj.h>

class ShellItemList
{
    // Data members
private:
    IMalloc* m_pMalloc;
    LPITEMIDLIST m_pidl = nullptr;

    // Construction
public:
    explicit ShellItemList(IMalloc* pMalloc)
        : m_pMalloc(pMalloc)
    {
    }
    ShellItemList(const ShellItemList&) = delete;
    ShellItemList& operator=(const ShellItemList&) = delete;
    ~ShellItemList() { Free(); }

    // Operations
    LPITEMIDLIST* Receive()
    {
        Free();
        return &m_pidl;
    }
    LPCITEMIDLIST Get() const { return m_pidl; }

    void Free()
    {
        if (m_pidl) {
            m_pMalloc->Free(m_pidl);
            m_pidl = nullptr;
        }
    }
};
