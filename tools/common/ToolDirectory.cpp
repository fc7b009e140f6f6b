#include "ToolDirectory.h"

#include "compat.h"

namespace {

// The name only gives GetFullPathNameA something to resolve against the current directory.
const char kResolvedName[] = "Regpick.exe";
// Characters of the path buffer, terminator included.
const DWORD kPathBufferSize = 256;

} // namespace

std::string GetToolDirectory()
{
    char path[kPathBufferSize] = {};
    char* pFilePart = nullptr;
    const DWORD nLength = ::GetFullPathNameA(kResolvedName, kPathBufferSize, path, &pFilePart);
    // 0 is a failure; a result as large as the buffer is the size it would need, and then
    // nothing was written.
    if (nLength == 0 || nLength >= kPathBufferSize || !pFilePart)
        return std::string();
    // The directory keeps its trailing backslash: the text ends where the file part begins.
    return std::string(path, static_cast<size_t>(pFilePart - path));
}
