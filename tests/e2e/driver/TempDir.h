// A temporary folder under the Wine temp folder that removes itself with all it holds.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qs::e2e {

class TempDir
{
public:
    // Creates a new, empty folder whose name starts with `prefix` (which may hold blanks
    // and apostrophes, to try paths of that kind).
    explicit TempDir(const std::string& prefix = "qs-e2e-");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's full path, no trailing backslash; empty if it could not be created.
    const std::string& Path() const { return m_path; }

    // The full path of `relative` inside the folder.
    std::string File(const std::string& relative) const;

    // Writes `bytes` exactly as the file `relative`, creating folders on the way.
    bool Write(const std::string& relative, const std::string& bytes) const;
    std::optional<std::string> Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

    // Creates the folder `relative` (and its parents); returns its full path.
    std::string MakeDir(const std::string& relative) const;

    // Names of the entries of the folder `relative` ("" = the folder itself), sorted.
    std::vector<std::string> List(const std::string& relative = "") const;

private:
    std::string m_path;
};

} // namespace qs::e2e
