// GetFullPathNameA and GetCurrentDirectoryA for POSIX paths.
#include "compat.h"
#include "path_tools.h"

#include <cstring>
#include <string>

namespace {

// Copies text with its NUL when it fits; otherwise writes nothing and answers the size needed
// (NUL included), as both calls do on Windows.
DWORD CopyPathOut(const std::string& text, DWORD nBufferLength, LPSTR lpBuffer)
{
    const size_t needed = text.size() + 1;
    if (!lpBuffer || nBufferLength < needed)
        return static_cast<DWORD>(needed);
    std::memcpy(lpBuffer, text.c_str(), needed);
    return static_cast<DWORD>(text.size());
}

} // namespace

DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart)
{
    std::string full;
    if (!lpFileName || !compat_detail::NormalisePath(lpFileName, full))
        return 0;

    const DWORD result = CopyPathOut(full, nBufferLength, lpBuffer);
    if (result == full.size() && lpFilePart) {
        // The last component starts after the last separator; a path ending in one has none.
        const size_t slash = full.find_last_of('/');
        *lpFilePart = slash + 1 == full.size() ? nullptr : lpBuffer + slash + 1;
    }
    return result;
}

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::string directory;
    if (!compat_detail::CurrentDirectory(directory))
        return 0;
    return CopyPathOut(directory, nBufferLength, lpBuffer);
}
