#include "SystemLibrary.h"

#include <cstring>

namespace {

// The search flags of LoadLibraryEx came with the update that brought AddDllDirectory: its
// presence, not an answer of the loader, tells which road this system takes.
bool SystemKnowsSearchFlags()
{
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    return hKernel && ::GetProcAddress(hKernel, "AddDllDirectory");
}

} // namespace

HMODULE AfxLoadSystemLibrary(const char* pszName)
{
    if (SystemKnowsSearchFlags())
        return ::LoadLibraryExA(pszName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);

    // Without the flags: the same file by its full path in the system folder. The altered
    // search makes the loader look for the DLL's own dependencies in its folder first; a
    // plain load by full path would search them as if loaded by name, the program's folder
    // first.
    char szPath[MAX_PATH];
    UINT cchDir = ::GetSystemDirectoryA(szPath, MAX_PATH);
    size_t cchName = std::strlen(pszName);
    if (cchDir == 0 || cchDir + 1 + cchName >= MAX_PATH) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    szPath[cchDir] = '\\';
    std::memcpy(szPath + cchDir + 1, pszName, cchName + 1);
    return ::LoadLibraryExA(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
