#include "SystemLibrary.h"

#include <cstring>

HMODULE AfxLoadSystemLibrary(const char* pszName)
{
    HMODULE hModule = ::LoadLibraryExA(pszName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hModule || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return hModule;

    // A system without the search flags (before the update that brought them): the same
    // file by its full path in the system folder.
    char szPath[MAX_PATH];
    UINT cchDir = ::GetSystemDirectoryA(szPath, MAX_PATH);
    size_t cchName = std::strlen(pszName);
    if (cchDir == 0 || cchDir + 1 + cchName >= MAX_PATH) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    szPath[cchDir] = '\\';
    std::memcpy(szPath + cchDir + 1, pszName, cchName + 1);
    return ::LoadLibraryA(szPath);
}
