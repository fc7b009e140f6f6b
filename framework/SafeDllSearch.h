// Restricts where the process loads DLLs from, before it loads any on its own: system DLLs
// come from the system folder only, never from the current folder or the program's folder,
// where a planted copy would run with the user's rights.
#pragma once

#ifdef _WIN32
#include <windows.h>

// Asks the loader to search the system folder only. SetDefaultDllDirectories is looked up at
// run time, so systems without it still start; there the current folder is at least taken
// out of the search. Answers whether the system-folder-only search is in force.
inline bool AfxRestrictDllSearch()
{
    typedef BOOL(WINAPI * PFN_SETDEFAULTDLLDIRECTORIES)(DWORD);
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    auto pfnSetDefault = hKernel ? reinterpret_cast<PFN_SETDEFAULTDLLDIRECTORIES>(
                             reinterpret_cast<void*>(::GetProcAddress(hKernel, "SetDefaultDllDirectories")))
                                 : nullptr;
    ::SetDllDirectoryA("");
    return pfnSetDefault && pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
#endif
