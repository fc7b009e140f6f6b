// Regpick and Revivo at the screen width of the shared test run (1280 pixels): which file
// they import and from where, what Revivo starts and when, and that neither shows a window.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "Capabilities.h"
#include "Files.h"
#include "Paths.h"
#include "Registry.h"
#include "RunRecords.h"
#include "TempDir.h"
#include "ToolFolder.h"
#include "ToolRun.h"

namespace qs::e2e::tools {
namespace {

constexpr int kRunWidth = 1280;
constexpr char kRunWidthFile[] = "Quil1280Pro.reg";
constexpr unsigned kImportTimeoutMs = 5000;
constexpr unsigned kStartTimeoutMs = 5000;
// The full path "<directory>\Regpick.exe" then has 258 characters, more than the tools'
// 256-character buffer holds.
constexpr size_t kTooLongDirectory = 246;

class ToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), kRunWidth)
            << "the shared test run's screen is expected to be 1280 pixels wide";
        ASSERT_FALSE(m_logs.Path().empty());
        RegistryDeleteKey(kImportKey);
        SetEnvironmentVariableA(kStartLogVariable, StartLog().c_str());
        SetEnvironmentVariableA(kUserWindowsVariable, nullptr);
    }
    void TearDown() override
    {
        RegistryDeleteKey(kImportKey);
        SetEnvironmentVariableA(kUserWindowsVariable, nullptr);
    }

    std::string StartLog() const { return m_logs.File("starts.log"); }

    // Gives the next tool runs a private Windows folder of the user's, as a Remote Desktop
    // session host does, with a stand-in editor in it.
    void UseUserWindowsFolderWithEditor()
    {
        ASSERT_FALSE(m_userWindows.Path().empty());
        ASSERT_TRUE(PlantEditor(m_userWindows.Path()));
        SetEnvironmentVariableA(kUserWindowsVariable, m_userWindows.Path().c_str());
    }
    // A stand-in "regedit.exe" that records its start in the start log and imports nothing.
    static bool PlantEditor(const std::string& folder)
    {
        return CopyFileTo(TestedWinPath(QS_PATH_TOOLS_QUILLORY_STANDIN), JoinPath(folder, "regedit.exe"));
    }

    ToolRunResult Run(const std::string& program, const std::string& currentDirectory,
                      const std::string& arguments = "", unsigned timeoutMs = 15000)
    {
        ToolRunOptions options;
        options.program = program;
        options.arguments = arguments;
        options.currentDirectory = currentDirectory;
        options.watchLog = m_logs.File("watch.log");
        options.timeoutMs = timeoutMs;
        return RunTool(options);
    }

    TempDir m_logs{"qs-tools-logs-"};
    TempDir m_userWindows{"qs-tools-user-windows-"};
};

// The registry editor of the system's shared Windows folder; for a 32-bit program on a
// 64-bit system, Wine starts the 32-bit editor of the SysWOW64 folder instead.
bool IsSystemEditor(const std::string& image)
{
    char folder[MAX_PATH] = {};
    UINT n = GetSystemWindowsDirectoryA(folder, MAX_PATH);
    if (lstrcmpiA(image.c_str(), JoinPath(std::string(folder, n < MAX_PATH ? n : 0), "regedit.exe").c_str())
        == 0)
        return true;
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return false;
    n = GetSystemWow64DirectoryA(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH
           && lstrcmpiA(image.c_str(), JoinPath(std::string(folder, n), "regedit.exe").c_str()) == 0;
}

// The run started one registry editor, the system's own.
void ExpectSystemEditor(const ToolRunResult& run)
{
    ASSERT_EQ(run.regedits.size(), 1u);
    EXPECT_TRUE(IsSystemEditor(run.regedits[0].image)) << "started " << run.regedits[0].image;
}

// The program took its icon, big and small; where the platform makes no icons (32-bit programs
// in Wine 8's WoW64 mode), it loads none to take.
void ExpectIconTaken(const ToolRunResult& run)
{
    if (const std::optional<std::string> why = QS_PROBE(IconsMissing)) {
        ::testing::Test::RecordProperty("icon", "left to the x86_64 run: " + *why);
        return;
    }
    EXPECT_TRUE(WatchHas(run, "icon big"));
    EXPECT_TRUE(WatchHas(run, "icon small"));
}

// The tool started, initialised its dialog, took its icon, never showed a window and ended.
void ExpectQuietRun(const ToolRunResult& run)
{
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.exited);
    EXPECT_TRUE(WatchHas(run, "init")) << "the show watch saw no dialog";
    ExpectIconTaken(run);
    EXPECT_FALSE(WatchHas(run, "shown")) << "a window became visible";
}

// Exactly the registry file for 1280 pixels was imported, from the folder tagged `tag`.
void ExpectImportedFrom(const std::string& tag)
{
    ASSERT_TRUE(WaitForImport(kImportTimeoutMs)) << "nothing was imported";
    const std::string value = ImportValueName(kRunWidthFile);
    EXPECT_EQ(ImportedValueNames(), std::vector<std::string>{value});
    EXPECT_EQ(RegistryReadString(kImportKey, value), tag);
}

// A folder below `base` whose full path has exactly `length` characters.
std::string MakeDirectoryOfLength(const TempDir& base, size_t length)
{
    std::string relative;
    size_t total = base.Path().size();
    while (total < length) {
        size_t part = std::min<size_t>(length - total - 1, 60);
        if (length - total - 1 - part == 1)
            --part; // a folder needs a separator and a name
        relative += (relative.empty() ? "" : "\\") + std::string(part, 'd');
        total += 1 + part;
    }
    return base.MakeDir(relative);
}

// A file whose path is longer than the ANSI file functions take (ASCII paths only),
// removed when the scope ends.
class LongPathFile
{
public:
    LongPathFile(const std::string& path, const std::string& bytes)
        : m_path(L"\\\\?\\" + std::wstring(path.begin(), path.end()))
    {
        HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        m_written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                    && written == bytes.size();
        CloseHandle(file);
    }
    ~LongPathFile() { DeleteFileW(m_path.c_str()); }
    LongPathFile(const LongPathFile&) = delete;
    LongPathFile& operator=(const LongPathFile&) = delete;
    bool Written() const { return m_written; }

private:
    std::wstring m_path;
    bool m_written = false;
};

// The optional header's DLL characteristics of the program file `path`; 0 when unreadable.
WORD DllCharacteristics(const std::string& path)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes || bytes->size() < sizeof(IMAGE_DOS_HEADER))
        return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes->data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0
        || bytes->size() < static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS))
        return 0;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes->data() + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt->OptionalHeader.DllCharacteristics : 0;
}

TEST(ToolsFile, BothToolsAreTerminalServerAware)
{
    // Otherwise a Remote Desktop session host gives them the user's private Windows folder.
    EXPECT_TRUE(DllCharacteristics(TestedWinPath(QS_PATH_REGPICK))
                & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
    EXPECT_TRUE(DllCharacteristics(TestedWinPath(QS_PATH_REVIVO))
                & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
}

TEST_F(ToolsTest, ShowWatchSeesAWindowThatIsShown)
{
    // The control for every "no window shown" check below: a program that does show one.
    TempDir cwd;
    // The child shows its window until it is ended: the whole limit always passes, so it is kept
    // short, but long enough for a slow machine to start a program.
    const ToolRunResult run = Run(TestedWinPath(QS_PATH_E2E_DRIVER_CHILD), cwd.Path(), "window Shown", 5000);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(WatchHas(run, "shown"));
}

TEST_F(ToolsTest, RegpickImportsTheFileForTheWidthFromItsWorkingDirectory)
{
    // Regpick's own folder holds registry files too; those of the working directory count.
    // Its own folder, the working directory and the user's private Windows folder each hold
    // a "regedit.exe" as well; only the system's editor may run.
    ToolFolder own("own");
    ToolFolder work("work");
    ASSERT_TRUE(own.Ready() && work.Ready());
    const std::string regpick = own.File("Regpick.exe");
    ASSERT_TRUE(CopyFileTo(TestedWinPath(QS_PATH_REGPICK), regpick));
    ASSERT_TRUE(PlantEditor(own.Path()) && PlantEditor(work.Path()));
    UseUserWindowsFolderWithEditor();

    const ToolRunResult run = Run(regpick, work.Path());
    ExpectQuietRun(run);
    ExpectSystemEditor(run);
    ExpectImportedFrom("work");
    EXPECT_TRUE(WaitForStandinStarts(StartLog(), 0).empty()) << "a planted editor ran";
}

TEST_F(ToolsTest, RegpickPassesAFolderWithBlanksAsOneArgument)
{
    ToolFolder folder("blanks", "qs tools e2e ");
    ASSERT_TRUE(folder.Ready());
    ASSERT_NE(folder.Path().find(' '), std::string::npos);

    ExpectQuietRun(Run(TestedWinPath(QS_PATH_REGPICK), folder.Path()));
    ExpectImportedFrom("blanks");
}

TEST_F(ToolsTest, RegpickImportsByNameAloneFromATooLongWorkingDirectory)
{
    // The directory text is empty, so the editor finds the file in its inherited working
    // directory.
    TempDir base;
    const std::string deep = MakeDirectoryOfLength(base, kTooLongDirectory);
    ASSERT_EQ(deep.size(), kTooLongDirectory);
    const LongPathFile registryFile(JoinPath(deep, kRunWidthFile),
                                    RegistryFileText(ImportValueName(kRunWidthFile), "deep"));
    ASSERT_TRUE(registryFile.Written());

    ExpectQuietRun(Run(TestedWinPath(QS_PATH_REGPICK), deep));
    ExpectImportedFrom("deep");
}

TEST_F(ToolsTest, RevivoImportsThenStartsQuilloryInItsWorkingDirectoryAfterThePauses)
{
    // Planted editors in Revivo's own folder, its working directory and the user's private
    // Windows folder would show as extra starts.
    ToolFolder own("revivo-own");
    ToolFolder folder("revivo");
    ASSERT_TRUE(own.Ready() && folder.Ready());
    const std::string revivo = own.File("Revivo.exe");
    ASSERT_TRUE(CopyFileTo(TestedWinPath(QS_PATH_REVIVO), revivo));
    ASSERT_TRUE(CopyFileTo(TestedWinPath(QS_PATH_TOOLS_QUILLORY_STANDIN), folder.File("Quillory.exe")));
    ASSERT_TRUE(PlantEditor(own.Path()) && PlantEditor(folder.Path()));
    UseUserWindowsFolderWithEditor();

    const ToolRunResult run = Run(revivo, folder.Path());
    ExpectQuietRun(run);
    ExpectSystemEditor(run);
    ExpectImportedFrom("revivo");

    const auto starts = WaitForStandinStarts(StartLog(), kStartTimeoutMs);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, "Quillory.exe");
    EXPECT_EQ(starts[0].directory, folder.Path());
    EXPECT_EQ(starts[0].width, kRunWidth);
    // Quillory is started to show its window the way it would by default, never hidden.
    EXPECT_EQ(starts[0].show, SW_SHOWDEFAULT);

    // Dialog initialisation, 500 ms, the editor, 100 ms, Quillory, then the dialog's end.
    const double init = WatchTime(run, "init");
    const double destroyed = WatchTime(run, "destroyed");
    ASSERT_GE(init, 0);
    ASSERT_EQ(run.regedits.size(), 1u);
    EXPECT_GE(run.regedits[0].createdMs - init, 500);
    EXPECT_GE(starts[0].ms - run.regedits[0].createdMs, 100);
    EXPECT_GE(starts[0].ms - init, 600);
    EXPECT_LE(starts[0].ms, destroyed);
}

TEST_F(ToolsTest, RevivoStartsQuilloryFromATooLongWorkingDirectory)
{
    // With the directory text empty, Quillory still starts, in Revivo's own working
    // directory, and the import still names the file alone.
    TempDir base;
    const std::string deep = MakeDirectoryOfLength(base, kTooLongDirectory);
    const LongPathFile registryFile(JoinPath(deep, kRunWidthFile),
                                    RegistryFileText(ImportValueName(kRunWidthFile), "deep"));
    ASSERT_TRUE(registryFile.Written());
    ASSERT_TRUE(CopyFileTo(TestedWinPath(QS_PATH_TOOLS_QUILLORY_STANDIN), JoinPath(deep, "Quillory.exe")));

    ExpectQuietRun(Run(TestedWinPath(QS_PATH_REVIVO), deep));
    ExpectImportedFrom("deep");
    const auto starts = WaitForStandinStarts(StartLog(), kStartTimeoutMs);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].directory, deep);
}

// Upvane's dialog takes the program's icon, large and small, as the tools' dialogs do, each
// at the size the title bar and Alt+Tab ask for at the display scale: 32 and 16 pixels at
// 100 %, 48 and 24 at 150 %. Its icon is seen only from inside (another process asking with
// WM_GETICON gets nothing under Wine), so the show watch goes with it; Upvane stays open and
// is ended after the wait. Wine reads the scale when a program starts; it is put back after.
TEST_F(ToolsTest, UpvaneTakesItsIconAtTheSizesOfItsScale)
{
    const char desktopKey[] = "Control Panel\\Desktop";
    const std::optional<DWORD> logPixels = RegistryReadDword(desktopKey, "LogPixels");
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        ASSERT_TRUE(RegistryWriteDword(desktopKey, "LogPixels", static_cast<DWORD>(dpi)));
        ToolRunOptions options;
        options.program = TestedWinPath(QS_PATH_UPVANE);
        options.currentDirectory = m_logs.Path();
        options.watchLog = m_logs.File("upvane-watch-" + std::to_string(dpi) + ".log");
        options.timeoutMs = 8000;
        const ToolRunResult run = RunTool(options);
        if (logPixels)
            RegistryWriteDword(desktopKey, "LogPixels", *logPixels);
        else
            RegistryDeleteValue(desktopKey, "LogPixels");
        ASSERT_TRUE(run.started);
        EXPECT_TRUE(WatchHas(run, "init")) << "the show watch saw no dialog";
        ExpectIconTaken(run);
        if (QS_PROBE(IconsMissing))
            continue;
        const std::string big = std::to_string(dpi / 3) + "x" + std::to_string(dpi / 3);
        const std::string small = std::to_string(dpi / 6) + "x" + std::to_string(dpi / 6);
        EXPECT_TRUE(WatchHas(run, "icon big " + big)) << "no large icon of " << big;
        EXPECT_TRUE(WatchHas(run, "icon small " + small)) << "no small icon of " << small;
    }
}

} // namespace
} // namespace qs::e2e::tools
