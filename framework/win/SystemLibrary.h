// Loading a Windows DLL that is not among the system's known DLLs (wininet, comctl32, oleacc):
// from the system folder only, at its first use, never from the program's folder where a
// planted copy would run inside the program before WinMain could restrict the search. Such a
// DLL is never imported statically; its functions are looked up in the module this loads.
#pragma once

#include <windows.h>

// Loads the DLL named pszName (a bare file name such as "wininet.dll") from the system folder:
// LoadLibraryExA with LOAD_LIBRARY_SEARCH_SYSTEM32, or, where the system does not know that flag
// (no AddDllDirectory in kernel32), the full path in the system folder with
// LOAD_WITH_ALTERED_SEARCH_PATH. NULL (with the last error set) when it cannot.
HMODULE AfxLoadSystemLibrary(const char* pszName);

// One system DLL, loaded at the first look-up of one of its functions and freed with the
// object. A failed load is tried once; every later look-up then answers NULL.
class CSystemLibrary
{
public:
    explicit CSystemLibrary(const char* pszName)
        : m_pszName(pszName)
    {
    }
    CSystemLibrary(const CSystemLibrary&) = delete;
    CSystemLibrary& operator=(const CSystemLibrary&) = delete;
    ~CSystemLibrary()
    {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }

    // The module, loaded now if this is the first use; NULL when it could not be loaded.
    HMODULE GetModule()
    {
        if (!m_bTried) {
            m_bTried = true;
            m_hModule = AfxLoadSystemLibrary(m_pszName);
        }
        return m_hModule;
    }

    // The function pszProc of the DLL as a pointer of type PFN; NULL when the DLL or the
    // function is missing.
    template <class PFN> PFN GetProc(const char* pszProc)
    {
        HMODULE hModule = GetModule();
        if (!hModule)
            return nullptr;
        return reinterpret_cast<PFN>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszProc)));
    }

private:
    const char* m_pszName;
    HMODULE m_hModule = nullptr;
    bool m_bTried = false;
};
