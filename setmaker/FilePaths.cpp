#include "FilePaths.h"

#include "compat.h"

#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

std::string FullPathOf(const std::string& strName)
{
    if (strName.empty())
        return std::string();
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD nAnswer =
            ::GetFullPathNameA(strName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (nAnswer == 0)
            return std::string();
        if (nAnswer < buffer.size())
            return std::string(buffer.data(), nAnswer);
        // The answer is the size needed: try again with that.
        buffer.resize(nAnswer + 1);
    }
}

std::string FolderOf(const std::string& strFullPath)
{
    const size_t nSeparator = strFullPath.find_last_of("/\\");
    return nSeparator == std::string::npos ? std::string() : strFullPath.substr(0, nSeparator);
}

std::string FileNameOf(const std::string& strPath)
{
    const size_t nSeparator = strPath.find_last_of("/\\");
    return nSeparator == std::string::npos ? strPath : strPath.substr(nSeparator + 1);
}

char PathSeparator()
{
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

bool IsRegularFile(const std::string& strPath)
{
#ifdef _WIN32
    const DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES
           && (dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
#else
    struct stat st = {};
    return ::stat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}
