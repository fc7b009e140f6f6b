// Reading a profile file on Windows, for the set-file reader's own reading of a file's bytes
// (profile_reader.h). The file is read afresh for every look-up, as the system's profile
// functions see a file that changed, and once for a whole load.
#include "profile_file.h"

#include <windows.h>

#include <cstring>

namespace compat_detail {

namespace {

// Owns an open file handle.
class FileHandle
{
public:
    explicit FileHandle(HANDLE hFile)
        : m_hFile(hFile)
    {
    }
    ~FileHandle()
    {
        if (IsValid())
            ::CloseHandle(m_hFile);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsValid() const { return m_hFile != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_hFile; }

private:
    HANDLE m_hFile;
};

// The path the system's profile functions use for a name: a name without any folder (and no
// drive) lies in the Windows directory; any other name is the file system's to resolve.
std::string ProfilePath(const char* lpFileName)
{
    if (std::strpbrk(lpFileName, "\\/:"))
        return lpFileName;
    char windows[MAX_PATH] = {};
    const UINT n = ::GetWindowsDirectoryA(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    return std::string(windows, n) + "\\" + lpFileName;
}

// Every byte of the file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents)
{
    // Shared with every other reader and writer, as the profile functions open it.
    const FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    contents.clear();
    char chunk[16384];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        contents.append(chunk, got);
    }
}

} // namespace

std::string ReadProfileFileBytes(const char* lpFileName)
{
    std::string contents;
    const std::string path = lpFileName && *lpFileName ? ProfilePath(lpFileName) : std::string();
    if (path.empty() || !ReadWholeFile(path, contents))
        contents.clear();
    DropByteOrderMark(contents);
    return contents;
}

} // namespace compat_detail
