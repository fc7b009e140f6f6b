// Whole-file reads and writes (bytes exactly as they are) and folder listings.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qs::e2e {

// Writes `bytes` as the whole content of `path`, replacing any file there.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The whole content of `path`; nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Names (not paths) of the entries of folder `dir`, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string& dir);

// Removes `path` (a file, or a folder with everything inside). Retries briefly while
// something still holds a file open; true when nothing is left.
bool RemoveTree(const std::string& path);

// Copies a file, replacing the target.
bool CopyFileTo(const std::string& from, const std::string& to);

} // namespace qs::e2e
