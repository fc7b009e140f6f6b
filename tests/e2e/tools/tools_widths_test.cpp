// Regpick and Revivo at several screen widths. Each width is a Wine virtual desktop of its
// own, made by starting the first program on a desktop whose size the prefix's registry
// names; the tools run on it and see its width. Making such a desktop changes the screen size
// every later program of the same wineserver sees, so this program does not run in the shared
// test run: scripts/test.d/tools-widths.sh runs it in a Wine run of its own.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include "Files.h"
#include "Paths.h"
#include "Registry.h"
#include "RunRecords.h"
#include "TempDir.h"
#include "ToolFolder.h"
#include "ToolRun.h"

namespace qs::e2e::tools {
namespace {

constexpr char kDesktopSizesKey[] = "Software\\Wine\\Explorer\\Desktops";
constexpr int kDesktopHeight = 800;
constexpr unsigned kImportTimeoutMs = 5000;
constexpr unsigned kStartTimeoutMs = 5000;
// How long a registry editor may take to end after the tool that started it.
constexpr unsigned kRegeditEndTimeoutMs = 15000;

struct WidthCase
{
    int width;
    const char* file; // null: no file fits
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const WidthCase& c, std::ostream* os)
{
    *os << c.width << " pixels: " << (c.file ? c.file : "no file");
}

std::string CaseName(const ::testing::TestParamInfo<WidthCase>& info)
{
    return "Width" + std::to_string(info.param.width);
}

// True once no "regedit.exe" process runs (waiting at most `timeoutMs`).
bool WaitForNoRegistryEditor(unsigned timeoutMs)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        bool running = false;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE)
            return false;
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more && !running;
             more = Process32Next(snapshot, &entry))
            running = lstrcmpiA(entry.szExeFile, "regedit.exe") == 0;
        CloseHandle(snapshot);
        if (!running)
            return true;
        if (GetTickCount64() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

// The processes a tool started, but for a new desktop's own "explorer.exe", which Wine starts
// for the first program that arrives on that desktop (from whichever system folder it is).
std::vector<ToolChild> ToolsOwnStarts(const ToolRunResult& run)
{
    std::vector<ToolChild> starts;
    for (const auto& child : run.children) {
        const auto slash = child.image.find_last_of('\\');
        if (slash == std::string::npos || lstrcmpiA(child.image.c_str() + slash + 1, "explorer.exe") != 0)
            starts.push_back(child);
    }
    return starts;
}

// The processes a tool started, for a failure's message.
std::string Listed(const std::vector<ToolChild>& children)
{
    std::string text = "started:";
    for (const auto& child : children)
        text += " " + (child.image.empty() ? "(ended before it could be read)" : child.image);
    return text;
}

class ToolsAtWidth : public ::testing::TestWithParam<WidthCase>
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_logs.Path().empty());
        RegistryDeleteKey(kImportKey);
        SetEnvironmentVariableA(kStartLogVariable, StartLog().c_str());
        // One desktop per width for the whole program; it keeps its size once it exists.
        m_desktop =
            "qs-tools-" + std::to_string(GetParam().width) + "-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(
            RegistryWriteString(kDesktopSizesKey, m_desktop,
                                std::to_string(GetParam().width) + "x" + std::to_string(kDesktopHeight)));
    }
    void TearDown() override
    {
        RegistryDeleteKey(kImportKey);
        RegistryDeleteValue(kDesktopSizesKey, m_desktop);
    }

    std::string StartLog() const { return m_logs.File("starts.log"); }

    ToolRunResult Run(const std::string& program, const std::string& currentDirectory)
    {
        ToolRunOptions options;
        options.program = program;
        options.currentDirectory = currentDirectory;
        options.desktop = m_desktop;
        return RunTool(options);
    }

    // The import of exactly the file for this width, or of nothing. `others` is how many
    // processes the tool starts besides the editor. Every process a tool starts is counted
    // however short its life, so the count holds even for an editor that ended before its
    // program could be read.
    void ExpectImportForWidth(const ToolRunResult& run, size_t others)
    {
        const char* file = GetParam().file;
        const std::vector<ToolChild> starts = ToolsOwnStarts(run);
        EXPECT_EQ(starts.size(), others + (file ? 1 : 0)) << Listed(run.children);
        if (!file) {
            EXPECT_TRUE(run.regedits.empty()) << "a registry editor was started";
            // The tool has ended, and a registry editor it started exists from then on until its
            // import is done: once none runs, every import there was is in the registry.
            ASSERT_TRUE(WaitForNoRegistryEditor(kRegeditEndTimeoutMs));
            EXPECT_TRUE(ImportedValueNames().empty());
            return;
        }
        ASSERT_TRUE(WaitForImport(kImportTimeoutMs)) << "nothing was imported";
        const std::string value = ImportValueName(file);
        EXPECT_EQ(ImportedValueNames(), std::vector<std::string>{value});
        EXPECT_EQ(RegistryReadString(kImportKey, value), "width");
    }

    TempDir m_logs{"qs-tools-logs-"};
    std::string m_desktop;
};

// Whether a window is shown is watched in the shared run (tools_test.cpp): the show watch
// cannot go with a program that starts on a desktop of its own.
void ExpectEnded(const ToolRunResult& run)
{
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.exited);
}

TEST_P(ToolsAtWidth, RegpickImportsTheFileForTheWidth)
{
    ToolFolder folder("width");
    ASSERT_TRUE(folder.Ready());
    // The stand-in first, as a probe of the desktop's width.
    ASSERT_TRUE(Run(TestedWinPath(QS_PATH_TOOLS_QUILLORY_STANDIN), folder.Path()).exited);
    const auto probe = WaitForStandinStarts(StartLog(), kStartTimeoutMs);
    ASSERT_EQ(probe.size(), 1u);
    ASSERT_EQ(probe[0].width, GetParam().width) << "the desktop has another width";

    const ToolRunResult run = Run(TestedWinPath(QS_PATH_REGPICK), folder.Path());
    ExpectEnded(run);
    ExpectImportForWidth(run, 0);
}

TEST_P(ToolsAtWidth, RevivoImportsTheFileForTheWidthAndStartsQuillory)
{
    ToolFolder folder("width");
    ASSERT_TRUE(folder.Ready());
    ASSERT_TRUE(CopyFileTo(TestedWinPath(QS_PATH_TOOLS_QUILLORY_STANDIN), folder.File("Quillory.exe")));

    const ToolRunResult run = Run(TestedWinPath(QS_PATH_REVIVO), folder.Path());
    ExpectEnded(run);
    ExpectImportForWidth(run, 1);
    // Quillory starts whether or not a file was imported, after both pauses.
    const auto starts = WaitForStandinStarts(StartLog(), kStartTimeoutMs);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, "Quillory.exe");
    EXPECT_EQ(starts[0].directory, folder.Path());
    EXPECT_EQ(starts[0].width, GetParam().width);
    EXPECT_GE(starts[0].ms - run.startMs, 600);
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolsAtWidth,
                         ::testing::Values(WidthCase{1024, "Quil1024Pro.reg"},
                                           WidthCase{1152, "Quil1152Pro.reg"},
                                           WidthCase{1280, "Quil1280Pro.reg"},
                                           WidthCase{1366, "Quil1440Pro.reg"},
                                           WidthCase{1680, "Quil1680Pro.reg"},
                                           WidthCase{1920, "Quil1920Pro.reg"}, WidthCase{2560, nullptr}),
                         CaseName);

} // namespace
} // namespace qs::e2e::tools
