// A tool folder for the tests: a temporary folder holding the six registry files, each of
// which writes its own value under a test key of HKEY_CURRENT_USER; what was imported from
// them; and what the Quillory stand-in recorded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"

namespace qs::e2e::tools {

// The key every test registry file writes to (under HKEY_CURRENT_USER).
constexpr char kImportKey[] = "Software\\QuillsuiteTests\\Tools";

// The six registry files, as the tools know them.
extern const char* const kRegistryFiles[6];

class ToolFolder
{
public:
    // `prefix` may hold blanks. The files write, under kImportKey, the value named after the
    // file (without ".reg") with the data `tag`, so that both the file and the folder it came
    // from can be told apart.
    explicit ToolFolder(const std::string& tag, const std::string& prefix = "qs-tools-");

    bool Ready() const { return m_ready; }
    const std::string& Path() const { return m_dir.Path(); }
    std::string File(const std::string& name) const { return m_dir.File(name); }
    const TempDir& Dir() const { return m_dir; }

private:
    TempDir m_dir;
    bool m_ready = false;
};

// The REGEDIT4 text (CRLF lines) of a file that sets `valueName` = `data` under kImportKey.
std::string RegistryFileText(const std::string& valueName, const std::string& data);

// The value name a registry file writes: its name without ".reg".
std::string ImportValueName(const std::string& fileName);

// Names of the values under kImportKey, sorted (empty when the key is absent).
std::vector<std::string> ImportedValueNames();

// Waits (bounded) until some value shows under kImportKey.
bool WaitForImport(unsigned timeoutMs);

// One start recorded by the Quillory stand-in.
struct StandinStart
{
    double ms = 0;
    std::string program;   // file name of the program that ran
    std::string directory; // its current directory
    int width = 0;         // SM_CXFULLSCREEN as it saw it
    int show = -1;         // the show command it was started with; -1 when none was given
};

// The starts recorded in the log `path`, once there is one (waiting at most `timeoutMs`)
// and a little longer, so that a second start would show as well.
std::vector<StandinStart> WaitForStandinStarts(const std::string& path, unsigned timeoutMs);

} // namespace qs::e2e::tools
