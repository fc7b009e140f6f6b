// A profile file changed after it was read: the next call answers from the file as it is now,
// however soon the change follows, whatever the file's size and times, and whichever other
// file was read in between.
#include "compat.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>

#include "profile_file.h"
#endif

namespace {

std::string Value(const std::string& file, const char* section, const char* key)
{
    char buffer[64];
    GetPrivateProfileStringA(section, key, "dflt", buffer, sizeof buffer, file.c_str());
    return buffer;
}

std::string Names(const std::string& file)
{
    char buffer[256];
    const DWORD n = GetPrivateProfileSectionNamesA(buffer, sizeof buffer, file.c_str());
    return std::string(buffer, n);
}

std::string Lines(const std::string& file, const char* section)
{
    char buffer[256];
    const DWORD n = GetPrivateProfileSectionA(section, buffer, sizeof buffer, file.c_str());
    return std::string(buffer, n);
}

// Lets `file` count as settled, as if the time a reader waits before it keeps a parse had
// passed since its last change: the file is aged where the reader goes by its time stamp, the
// stand-ins' clock moved on where they also go by the change time, which no program can set.
void LetSettle(const std::string& file)
{
#ifdef _WIN32
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now()
                                               - std::chrono::seconds(10));
#else
    (void)file;
    compat_detail::AdvanceProfileClock(10);
#endif
}

} // namespace

TEST(ProfileCacheTest, RewriteOfTheSameSizeRightAfterAReadIsSeen)
{
    TempDir dir;
    const std::string file = dir.Write("same.ini", "[a]\r\nk=1\r\n");
    ASSERT_EQ("1", Value(file, "a", "k"));
    ASSERT_EQ(std::string("a\0", 2), Names(file));

    dir.Write("same.ini", "[b]\r\nk=2\r\n");
    EXPECT_EQ("dflt", Value(file, "a", "k"));
    EXPECT_EQ("2", Value(file, "b", "k"));
    EXPECT_EQ(std::string("b\0", 2), Names(file));
    EXPECT_EQ(std::string("k=2\0", 4), Lines(file, "b"));
}

TEST(ProfileCacheTest, FilesReadInTurnEachAnswerTheirOwnValues)
{
    TempDir dir;
    const std::string first = dir.Write("first.ini", "[s]\r\nk=1\r\n");
    const std::string second = dir.Write("second.ini", "[s]\r\nk=2\r\n");
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ("1", Value(first, "s", "k"));
        EXPECT_EQ("2", Value(second, "s", "k"));
    }

    // The same relative name means another file in another current directory.
    std::filesystem::create_directory(dir.PathOf("one"));
    std::filesystem::create_directory(dir.PathOf("two"));
    dir.Write("one/app.ini", "[s]\r\nk=one\r\n");
    dir.Write("two/app.ini", "[s]\r\nk=two\r\n");
    for (int round = 0; round < 2; ++round) {
        {
            const CurrentDirScope inside(dir.PathOf("one"));
            EXPECT_EQ("one", Value("./app.ini", "s", "k"));
        }
        const CurrentDirScope inside(dir.PathOf("two"));
        EXPECT_EQ("two", Value("./app.ini", "s", "k"));
    }
}

TEST(ProfileCacheTest, FileRemovedOrReplacedByAFolderReadsAsMissing)
{
    TempDir dir;
    const std::string file = dir.Write("gone.ini", "[s]\r\nk=v\r\n");
    ASSERT_EQ("v", Value(file, "s", "k"));

    std::filesystem::remove(file);
    EXPECT_EQ("dflt", Value(file, "s", "k"));
    EXPECT_EQ("", Names(file));

    std::filesystem::create_directory(file);
    EXPECT_EQ("dflt", Value(file, "s", "k"));
    EXPECT_EQ("", Lines(file, "s"));
}

TEST(ProfileCacheTest, SettledFileRewrittenWithTheSameSizeIsSeen)
{
    // A settled file may be kept parsed; every rewrite must still show, also one that puts
    // the former modification time back.
    TempDir dir;
    const std::string file = dir.Write("settled.ini", "[s]\r\nk=old\r\n");
    LetSettle(file);
    ASSERT_EQ("old", Value(file, "s", "k"));
    ASSERT_EQ("old", Value(file, "s", "k"));

    dir.Write("settled.ini", "[s]\r\nk=new\r\n");
    EXPECT_EQ("new", Value(file, "s", "k"));

    LetSettle(file);
    ASSERT_EQ("new", Value(file, "s", "k"));
    ASSERT_EQ("new", Value(file, "s", "k"));
    const auto modified = std::filesystem::last_write_time(file);
    dir.Write("settled.ini", "[s]\r\nk=two\r\n");
#ifndef _WIN32
    // The stand-ins also go by the change time, which no program can put back. (Wine's reader
    // goes by the write time alone and keeps its parse when that is put back exactly.)
    std::filesystem::last_write_time(file, modified);
#else
    (void)modified;
#endif
    EXPECT_EQ("two", Value(file, "s", "k"));
}

#ifndef _WIN32
// Only files are read: a pipe would block the reader and a device might never end.
TEST(ProfileCacheTest, PipesAndDevicesReadAsMissing)
{
    TempDir dir;
    const std::string pipe = dir.PathOf("pipe.ini");
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
    EXPECT_EQ("dflt", Value(pipe, "s", "k"));
    EXPECT_EQ("", Names("/dev/zero"));
    EXPECT_EQ("dflt", Value("/dev/zero", "s", "k"));
}
#endif
