// FindFirstFileA, FindNextFileA and FindClose over POSIX directories. The last path component
// is the search pattern; the folder before it is taken literally.
#include "compat.h"
#include "path_tools.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

// One open search: the folder's listing and the pattern its names must match. A search for
// one existing name without wildcards has no listing and no further matches.
struct FindSearch
{
    std::unique_ptr<DIR, DirCloser> dir;
    std::string folder;
    std::string pattern;
};

// Seconds and nanoseconds since 1970 as 100-ns intervals since 1601.
FILETIME ToFileTime(const timespec& time)
{
    const uint64_t epochDifference = 11644473600ull;
    const uint64_t ticks = (static_cast<uint64_t>(time.tv_sec) + epochDifference) * 10000000ull
                           + static_cast<uint64_t>(time.tv_nsec) / 100u;
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    result.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return result;
}

void FillFindData(const std::string& folder, const char* name, WIN32_FIND_DATAA* data)
{
    *data = WIN32_FIND_DATAA();
    std::strncpy(data->cFileName, name, MAX_PATH - 1);

    const bool dotName = name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
    struct stat info;
    const std::string path = folder + (folder.back() == '/' ? "" : "/") + name;
    if (stat(path.c_str(), &info) != 0) {
        data->dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
        return;
    }
    data->dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (dotName)
        data->dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
    if (!S_ISDIR(info.st_mode)) {
        const uint64_t size = static_cast<uint64_t>(info.st_size);
        data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
        data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    }
    data->ftCreationTime = ToFileTime(info.st_ctim);
    data->ftLastAccessTime = ToFileTime(info.st_atim);
    data->ftLastWriteTime = ToFileTime(info.st_mtim);
}

// Advances the listing to its next matching name.
bool NextMatch(FindSearch& search, WIN32_FIND_DATAA* data)
{
    if (!search.dir)
        return false;
    while (const dirent* entry = readdir(search.dir.get())) {
        if (std::strlen(entry->d_name) < MAX_PATH
            && compat_detail::MatchName(search.pattern, entry->d_name)) {
            FillFindData(search.folder, entry->d_name, data);
            return true;
        }
    }
    search.dir.reset();
    return false;
}

} // namespace

HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData)
{
    // A path that ends in a separator names no file: Windows fails such a search.
    if (!lpFileName || !*lpFileName || !lpFindFileData
        || compat_detail::IsSeparator(lpFileName[std::strlen(lpFileName) - 1]))
        return INVALID_HANDLE_VALUE;

    std::string full;
    if (!compat_detail::NormalisePath(lpFileName, full) || full.back() == '/')
        return INVALID_HANDLE_VALUE;

    const size_t slash = full.find_last_of('/');
    auto search = std::make_unique<FindSearch>();
    search->folder = slash == 0 ? std::string("/") : full.substr(0, slash);
    // Trailing dots and blanks stay part of the name: Linux file names may end in them.
    search->pattern = full.substr(slash + 1);

    // An existing name without wildcards is the one match, in its own letter case.
    const std::string exact = full.substr(0, slash + 1) + search->pattern;
    struct stat info;
    if (search->pattern.find_first_of("*?") == std::string::npos && stat(exact.c_str(), &info) == 0) {
        FillFindData(search->folder, search->pattern.c_str(), lpFindFileData);
        return search.release();
    }

    search->dir.reset(opendir(search->folder.c_str()));
    if (!NextMatch(*search, lpFindFileData))
        return INVALID_HANDLE_VALUE;
    return search.release();
}

BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData)
{
    if (!hFindFile || hFindFile == INVALID_HANDLE_VALUE || !lpFindFileData)
        return FALSE;
    return NextMatch(*static_cast<FindSearch*>(hFindFile), lpFindFileData) ? TRUE : FALSE;
}

BOOL FindClose(HANDLE hFindFile)
{
    if (!hFindFile || hFindFile == INVALID_HANDLE_VALUE)
        return FALSE;
    delete static_cast<FindSearch*>(hFindFile);
    return TRUE;
}
