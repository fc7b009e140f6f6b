// Regpick and Revivo at the screen width of the shared test run (1280 pixels): which file
// they import and from where, what Revivo starts and when, and that neither shows a window.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

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

class ToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), kRunWidth)
        << "the shared test run's screen is expected to be 1280 pixels wide";
    ASSERT_FALSE(m_logs.Path().empty());
    RegistryDeleteKey(kImportKey);
    SetEnvironmentVariableA(kStartLogVariable, StartLog().c_str());
  }
  void TearDown() override { RegistryDeleteKey(kImportKey); }

  std::string StartLog() const { return m_logs.File("starts.log"); }

  ToolRunResult Run(const std::string& program, const std::string& currentDirectory,
                    const std::string& arguments = "", unsigned timeoutMs = 15000) {
    ToolRunOptions options;
    options.program = program;
    options.arguments = arguments;
    options.currentDirectory = currentDirectory;
    options.watchLog = m_logs.File("watch.log");
    options.timeoutMs = timeoutMs;
    return RunTool(options);
  }

  TempDir m_logs{"qs-tools-logs-"};
};

// The tool started, initialised its dialog, took its icon, never showed a window and ended.
void ExpectQuietRun(const ToolRunResult& run) {
  ASSERT_TRUE(run.started);
  EXPECT_TRUE(run.exited);
  EXPECT_TRUE(WatchHas(run, "init")) << "the show watch saw no dialog";
  EXPECT_TRUE(WatchHas(run, "icon big"));
  EXPECT_TRUE(WatchHas(run, "icon small"));
  EXPECT_FALSE(WatchHas(run, "shown")) << "a window became visible";
}

// Exactly the registry file for 1280 pixels was imported, from the folder tagged `tag`.
void ExpectImportedFrom(const std::string& tag) {
  ASSERT_TRUE(WaitForImport(kImportTimeoutMs)) << "nothing was imported";
  const std::string value = ImportValueName(kRunWidthFile);
  EXPECT_EQ(ImportedValueNames(), std::vector<std::string>{value});
  EXPECT_EQ(RegistryReadString(kImportKey, value), tag);
}

// A folder below `base` whose full path has exactly `length` characters.
std::string MakeDirectoryOfLength(const TempDir& base, size_t length) {
  std::string relative;
  size_t total = base.Path().size();
  while (total < length) {
    size_t part = std::min<size_t>(length - total - 1, 60);
    if (length - total - 1 - part == 1) --part;  // a folder needs a separator and a name
    relative += (relative.empty() ? "" : "\\") + std::string(part, 'd');
    total += 1 + part;
  }
  return base.MakeDir(relative);
}

// A file whose path is longer than the ANSI file functions take (ASCII paths only),
// removed when the scope ends.
class LongPathFile {
 public:
  LongPathFile(const std::string& path, const std::string& bytes)
      : m_path(L"\\\\?\\" + std::wstring(path.begin(), path.end())) {
    HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    m_written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                          nullptr) &&
                written == bytes.size();
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

TEST_F(ToolsTest, ShowWatchSeesAWindowThatIsShown) {
  // The control for every "no window shown" check below: a program that does show one.
  TempDir cwd;
  const ToolRunResult run = Run(QS_PATH_E2E_DRIVER_CHILD, cwd.Path(), "window Shown", 2000);
  ASSERT_TRUE(run.started);
  EXPECT_TRUE(WatchHas(run, "shown"));
}

TEST_F(ToolsTest, RegpickImportsTheFileForTheWidthFromItsWorkingDirectory) {
  // Regpick's own folder holds registry files too; those of the working directory count.
  ToolFolder own("own");
  ToolFolder work("work");
  ASSERT_TRUE(own.Ready() && work.Ready());
  const std::string regpick = own.File("Regpick.exe");
  ASSERT_TRUE(CopyFileTo(WinPath(QS_PATH_REGPICK), regpick));

  const ToolRunResult run = Run(regpick, work.Path());
  ExpectQuietRun(run);
  EXPECT_EQ(run.regedits.size(), 1u);
  ExpectImportedFrom("work");
}

TEST_F(ToolsTest, RegpickPassesAFolderWithBlanksAsOneArgument) {
  ToolFolder folder("blanks", "qs tools e2e ");
  ASSERT_TRUE(folder.Ready());
  ASSERT_NE(folder.Path().find(' '), std::string::npos);

  ExpectQuietRun(Run(QS_PATH_REGPICK, folder.Path()));
  ExpectImportedFrom("blanks");
}

TEST_F(ToolsTest, RegpickImportsByNameAloneFromATooLongWorkingDirectory) {
  // The directory text is empty, so the editor finds the file in its inherited working
  // directory.
  TempDir base;
  const std::string deep = MakeDirectoryOfLength(base, kTooLongDirectory);
  ASSERT_EQ(deep.size(), kTooLongDirectory);
  const LongPathFile registryFile(JoinPath(deep, kRunWidthFile),
                                  RegistryFileText(ImportValueName(kRunWidthFile), "deep"));
  ASSERT_TRUE(registryFile.Written());

  ExpectQuietRun(Run(QS_PATH_REGPICK, deep));
  ExpectImportedFrom("deep");
}

TEST_F(ToolsTest, RevivoImportsThenStartsQuilloryInItsWorkingDirectoryAfterThePauses) {
  ToolFolder folder("revivo");
  ASSERT_TRUE(folder.Ready());
  ASSERT_TRUE(CopyFileTo(WinPath(QS_PATH_TOOLS_QUILLORY_STANDIN), folder.File("Quillory.exe")));

  const ToolRunResult run = Run(QS_PATH_REVIVO, folder.Path());
  ExpectQuietRun(run);
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

TEST_F(ToolsTest, RevivoStartsQuilloryFromATooLongWorkingDirectory) {
  // With the directory text empty, Quillory still starts, in Revivo's own working
  // directory, and the import still names the file alone.
  TempDir base;
  const std::string deep = MakeDirectoryOfLength(base, kTooLongDirectory);
  const LongPathFile registryFile(JoinPath(deep, kRunWidthFile),
                                  RegistryFileText(ImportValueName(kRunWidthFile), "deep"));
  ASSERT_TRUE(registryFile.Written());
  ASSERT_TRUE(CopyFileTo(WinPath(QS_PATH_TOOLS_QUILLORY_STANDIN), JoinPath(deep, "Quillory.exe")));

  ExpectQuietRun(Run(QS_PATH_REVIVO, deep));
  ExpectImportedFrom("deep");
  const auto starts = WaitForStandinStarts(StartLog(), kStartTimeoutMs);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].directory, deep);
}

// Upvane's dialog takes the program's icon, large and small, as the tools' dialogs do. Its
// icon is seen only from inside (another process asking with WM_GETICON gets nothing under
// Wine), so the show watch goes with it; Upvane stays open and is ended after the wait.
TEST_F(ToolsTest, UpvaneTakesItsIconAsTheToolsDo) {
  ToolRunOptions options;
  options.program = QS_PATH_UPVANE;
  options.currentDirectory = m_logs.Path();
  options.watchLog = m_logs.File("upvane-watch.log");
  options.timeoutMs = 8000;
  const ToolRunResult run = RunTool(options);
  ASSERT_TRUE(run.started);
  EXPECT_TRUE(WatchHas(run, "init")) << "the show watch saw no dialog";
  EXPECT_TRUE(WatchHas(run, "icon big"));
  EXPECT_TRUE(WatchHas(run, "icon small"));
}

}  // namespace
}  // namespace qs::e2e::tools
