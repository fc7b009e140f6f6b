#include "Paths.h"

#include <windows.h>
#include <shlobj.h>

namespace qs::e2e {

namespace {

std::string WithoutTrailingBackslash(std::string path)
{
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace

std::string TestProgramDir()
{
    char buffer[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return DirName(std::string(buffer, n));
}

std::string WinPath(const std::string& path)
{
    std::string result = path;
    for (char& c : result) {
        if (c == '/')
            c = '\\';
    }
    if (!path.empty() && path[0] == '/')
        result = "Z:" + result;
    return result;
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    if (dir.back() == '\\' || dir.back() == '/')
        return dir + name;
    return dir + "\\" + name;
}

std::string DirName(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SpecialFolderPath(int csidl)
{
    char buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return {};
    return WithoutTrailingBackslash(buffer);
}

std::string TempRoot()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    return WithoutTrailingBackslash(std::string(buffer, n));
}

} // namespace qs::e2e
