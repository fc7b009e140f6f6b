// Path handling shared by the Linux stand-ins.
#include "path_tools.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace compat_detail {

namespace {

char FoldAscii(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

// Iterative wildcard match with one back-tracking point: linear in practice, never worse
// than pattern length times name length.
bool MatchWildcards(std::string_view pattern, std::string_view name)
{
    size_t p = 0, n = 0;
    size_t starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool CurrentDirectory(std::string& directory)
{
    std::vector<char> buffer(256);
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) {
            directory = buffer.data();
            return true;
        }
        if (errno != ERANGE)
            return false;
        buffer.resize(buffer.size() * 2);
    }
}

bool NormalisePath(std::string_view path, std::string& full)
{
    if (path.empty())
        return false;

    std::string base;
    if (!IsSeparator(path.front()) && !CurrentDirectory(base))
        return false;

    // Components of the base directory, then those of the path.
    std::vector<std::string_view> parts;
    auto addComponents = [&parts](std::string_view text) {
        size_t i = 0;
        while (i < text.size()) {
            while (i < text.size() && IsSeparator(text[i]))
                ++i;
            size_t end = i;
            while (end < text.size() && !IsSeparator(text[end]))
                ++end;
            std::string_view part = text.substr(i, end - i);
            if (part == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            i = end;
        }
    };
    addComponents(base);
    addComponents(path);

    full.clear();
    for (std::string_view part : parts) {
        full += '/';
        full.append(part.data(), part.size());
    }
    if (full.empty() || IsSeparator(path.back()))
        full += '/';
    return true;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

bool MatchName(std::string_view pattern, std::string_view name)
{
    if (MatchWildcards(pattern, name))
        return true;
    // "name.*" stands for the name with any extension, none included ("*.*" is every name).
    const std::string_view anyExtension = ".*";
    if (pattern.size() >= anyExtension.size()
        && pattern.substr(pattern.size() - anyExtension.size()) == anyExtension)
        return MatchWildcards(pattern.substr(0, pattern.size() - anyExtension.size()), name);
    return false;
}

std::string ResolveNoCase(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0)
        return path;

    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return path;
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    const std::string_view last = std::string_view(path).substr(slash + 1);

    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return path;
    while (const dirent* entry = readdir(dir.get())) {
        if (EqualNoCase(entry->d_name, last))
            return path.substr(0, slash + 1) + entry->d_name;
    }
    return path;
}

} // namespace compat_detail
