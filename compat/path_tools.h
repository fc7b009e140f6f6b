// path_tools.h: path handling shared by the Linux stand-ins (not part of compat.h).
#pragma once

#include <string>
#include <string_view>

namespace compat_detail {

// Both separators of Windows paths are accepted; the result always uses '/'.
inline bool IsSeparator(char ch)
{
    return ch == '/' || ch == '\\';
}

// The process's current directory; false when it cannot be determined.
bool CurrentDirectory(std::string& directory);

// The absolute form of a path: relative paths start from the current directory, "." and
// ".." are resolved by name (as Windows does, without asking the file system), repeated
// separators collapse, and a trailing separator is kept. False for an empty path or when the
// current directory is needed and unknown.
bool NormalisePath(std::string_view path, std::string& full);

// ASCII letters compare without regard to case; every other byte must be equal.
bool EqualNoCase(std::string_view a, std::string_view b);

// Wildcard match of a file name as a search does it: '*' any run of characters, '?' exactly
// one, letter case ignored; a pattern ending in ".*" also matches the name without extension.
bool MatchName(std::string_view pattern, std::string_view name);

// The path itself when it exists; otherwise the path with its last component replaced by a
// name of its folder that equals it with letter case ignored, if there is one. File names on
// Windows ignore letter case; this keeps files found by a search readable by name.
std::string ResolveNoCase(const std::string& path);

} // namespace compat_detail
