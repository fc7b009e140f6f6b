// Open: failures, what survives them, relative and over-long names.
#include "CIniFile.h"
#include "profile_roads.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Each case runs on both roads of the profile reads.
class CIniFileOpenTest : public ::testing::TestWithParam<const ProfileReader*>
{};
QS_ON_EACH_PROFILE_ROAD(CIniFileOpenTest);

TEST_P(CIniFileOpenTest, FailedOpensKeepTheLoadedSections)
{
    TempDir dir;
    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(dir.Write("first.set", "[a]\r\nk=1\r\n").c_str()));

    EXPECT_FALSE(ini.Open(""));
    EXPECT_STREQ("FileName empty.", ini.GetLastErrorText());
    EXPECT_STREQ("1", ini.GetValue("a", "k", "dflt"));

    // A missing file keeps the sections but takes the path: values come from the new name.
    EXPECT_FALSE(ini.Open(dir.PathOf("missing.set").c_str()));
    EXPECT_STREQ("File not founded", ini.GetLastErrorText());
    EXPECT_TRUE(ini.HasKey("a", "k"));
    EXPECT_STREQ("dflt", ini.GetValue("a", "k", "dflt"));

    // A file that is found replaces the whole loaded copy.
    ASSERT_TRUE(ini.Open(dir.Write("second.set", "[b]\r\n").c_str()));
    EXPECT_EQ(1, ini.GetSectionCount());
    EXPECT_FALSE(ini.HasSection("a"));
}

TEST_P(CIniFileOpenTest, RelativeNamesResolveAgainstTheCurrentDirectory)
{
    TempDir dir;
    dir.Write("app.set", "[information]\r\nweblink=example\r\n");
    const CurrentDirScope inside(dir.Path());
    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open("app.set"));
    EXPECT_STREQ("example", ini.GetValue("information", "weblink", ""));
}

TEST_P(CIniFileOpenTest, FullPathOfMaxPathOrMoreLeavesTheCurrentDirectoryAsThePath)
{
    TempDir dir;
    const CurrentDirScope inside(dir.Path());
    char current[MAX_PATH];
    const size_t base = GetCurrentDirectoryA(MAX_PATH, current) + 1;
    const std::string fits(MAX_PATH - 1 - base, 'f'); // full path of 259 characters
    const std::string tooLong(MAX_PATH - base, 'g');  // 260
    dir.Write(fits, "[fits]\r\n");
    dir.Write(tooLong, "[long]\r\n");
    ASSERT_TRUE(std::filesystem::exists(dir.PathOf(tooLong)));

    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(fits.c_str()));
    EXPECT_STREQ("fits", ini.GetSectionName(0));
    // The path cannot be held, so the current directory stands for it, as when a name cannot
    // be resolved at all: that folder exists and reads as a file without sections.
    EXPECT_TRUE(ini.Open(tooLong.c_str()));
    EXPECT_EQ(0, ini.GetSectionCount());
    ASSERT_TRUE(ini.Open(fits.c_str()));
    EXPECT_TRUE(ini.Open(std::string(5000, 'n').c_str()));
    EXPECT_EQ(0, ini.GetSectionCount());
}

TEST_P(CIniFileOpenTest, FolderOrLockedFileOpensAsAFileWithoutSections)
{
    // Found by name, so the open succeeds; nothing can be read from it, so nothing is loaded
    // and no look-up finds anything.
    TempDir dir;
    const std::string folder = dir.PathOf("folder.set");
    std::filesystem::create_directory(folder);
    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(dir.Write("first.set", "[a]\r\nk=1\r\n").c_str()));
    EXPECT_TRUE(ini.Open(folder.c_str()));
    EXPECT_EQ(0, ini.GetSectionCount());
    EXPECT_STREQ("dflt", ini.GetValue("a", "k", "dflt"));

#ifdef _WIN32
    // Held open by another handle that shares nothing: the profile reads cannot open it.
    const std::string locked = dir.Write("locked.set", "[information]\r\ntitle=x\r\n");
    const HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    EXPECT_TRUE(ini.Open(locked.c_str()));
    EXPECT_EQ(0, ini.GetSectionCount());
    EXPECT_STREQ("dflt", ini.GetValue("information", "title", "dflt"));
    CloseHandle(hold);
    ASSERT_TRUE(ini.Open(locked.c_str()));
    EXPECT_STREQ("x", ini.GetValue("information", "title", "dflt"));
#endif
}

#ifndef _WIN32
// Windows does not let a process remove its current directory, so only here can neither the
// name nor the current directory give a path.
TEST_P(CIniFileOpenTest, NoPathAtAllIsFileNotFound)
{
    TempDir dir;
    const std::string gone = dir.PathOf("gone");
    std::filesystem::create_directory(gone);
    const CurrentDirScope inside(gone);
    std::filesystem::remove(gone);
    CIniFile ini(*GetParam());
    EXPECT_FALSE(ini.Open("app.set"));
    EXPECT_STREQ("File not founded", ini.GetLastErrorText());
}
#endif
