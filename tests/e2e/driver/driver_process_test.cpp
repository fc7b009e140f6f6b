// Starting programs, their exit and current directory, and temporary folders.
#include <gtest/gtest.h>

#include "Files.h"
#include "Paths.h"
#include "Process.h"
#include "TempDir.h"

namespace qs::e2e {
namespace {

constexpr unsigned kExitTimeoutMs = 10000;

std::string ChildPath()
{
    return QS_DELIVERABLE(E2E_DRIVER_CHILD);
}

TEST(Process, StartsInTheChosenCurrentDirectory)
{
    TempDir dir("qs e2e's dir ");
    ASSERT_FALSE(dir.Path().empty());
    Process child = Process::Start(ChildPath(), "cwd seen.txt", dir.Path());
    ASSERT_TRUE(child.Started()) << child.StartError();
    ASSERT_TRUE(child.WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(child.ExitCode().value_or(99), 0u);
    EXPECT_EQ(dir.Read("seen.txt").value_or("?"), dir.Path());
}

TEST(Process, ReportsExitCodeAndFailedStart)
{
    Process child = Process::Start(ChildPath(), "exit 42");
    ASSERT_TRUE(child.WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(child.ExitCode().value_or(0), 42u);

    Process missing = Process::Start(JoinPath(TempRoot(), "no such program.exe"));
    EXPECT_FALSE(missing.Started());
    EXPECT_EQ(missing.StartError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(missing.ExitCode().has_value());
}

TEST(Process, RunningProgramIsEndedWhenTheObjectGoes)
{
    HANDLE watch = nullptr;
    {
        Process child = Process::Start(ChildPath(), "window \"Kill me\"");
        ASSERT_TRUE(child.Started());
        ASSERT_NE(child.WaitForTopWindow("QsDriverChild", "Kill me", kExitTimeoutMs), nullptr);
        EXPECT_TRUE(child.Running());
        EXPECT_FALSE(child.ExitCode().has_value());
        watch = OpenProcess(SYNCHRONIZE, FALSE, child.Id());
        ASSERT_NE(watch, nullptr);
    }
    EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0);
    CloseHandle(watch);
}

TEST(TempDir, HoldsExactBytesAndVanishesWithEverythingInside)
{
    std::string path;
    {
        TempDir dir;
        path = dir.Path();
        ASSERT_TRUE(DirectoryExists(path));
        const std::string bytes("a\0b\r\n\x1a\xff", 7);
        ASSERT_TRUE(dir.Write("sub/deeper/data.bin", bytes));
        ASSERT_TRUE(dir.Write("top.txt", "x"));
        EXPECT_EQ(dir.Read("sub\\deeper\\data.bin").value_or(""), bytes);
        EXPECT_EQ(dir.List(), (std::vector<std::string>{"sub", "top.txt"}));
        EXPECT_EQ(dir.List("sub/deeper"), std::vector<std::string>{"data.bin"});
        EXPECT_FALSE(dir.Read("absent").has_value());
    }
    EXPECT_FALSE(DirectoryExists(path));
    EXPECT_FALSE(FileExists(path));
}

TEST(Paths, UnixPathsBecomeDriveZPaths)
{
    EXPECT_EQ(WinPath("/work/main/a b/x.exe"), "Z:\\work\\main\\a b\\x.exe");
    EXPECT_EQ(WinPath("C:/dir/x"), "C:\\dir\\x");
    EXPECT_TRUE(FileExists(ChildPath()));
    EXPECT_TRUE(FileExists(JoinPath(TestProgramDir(), "e2e_driver.exe")));
}

} // namespace
} // namespace qs::e2e
