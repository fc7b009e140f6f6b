// File search: wildcards in the last component, letter case ignored, names without folder.
#include "compat.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

// Every name the search finds (none when it does not open), and the search's closing.
std::set<std::string> Find(const std::string& pattern)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA data = {};
    const HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(data.cFileName);
    while (FindNextFileA(find, &data));
    EXPECT_TRUE(FindClose(find));
    return names;
}

class FindTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"a.set", "b.SET", "ab.set", "notes.txt", "noext"})
            m_dir.Write(name, "12345");
        std::filesystem::create_directory(m_dir.PathOf("folder"));
    }
    std::string In(const std::string& name) const { return m_dir.Path() + kSeparator + name; }

    TempDir m_dir;
};

using Names = std::set<std::string>;

} // namespace

TEST_F(FindTest, WildcardsMatchTheLastComponentWithLetterCaseIgnored)
{
    EXPECT_EQ((Names{"a.set", "b.SET", "ab.set"}), Find(In("*.set")));
    EXPECT_EQ((Names{"a.set", "b.SET", "ab.set"}), Find(In("*.SET")));
    EXPECT_EQ((Names{"a.set", "b.SET"}), Find(In("?.set")));
    EXPECT_EQ(Names{"noext"}, Find(In("n*ext")));
    EXPECT_EQ(1u, Find(In("*.*")).count("noext")); // "*.*" takes names without a dot too
    EXPECT_EQ(Names{}, Find(In("missing*")));
}

TEST_F(FindTest, PlainNamesFindOneEntryInItsOwnLetterCase)
{
    EXPECT_EQ(Names{"a.set"}, Find(In("A.SET")));
    EXPECT_EQ(Names{"notes.txt"}, Find(In("folder\\..\\notes.txt")));
    EXPECT_EQ(Names{"a.set"}, Find(m_dir.Path() + kSeparator + kSeparator + "a.*")); // doubled separator
    EXPECT_EQ(Names{"ab.set"}, Find(m_dir.Path() + "//ab.set"));
    EXPECT_EQ(Names{}, Find(In("missing.set")));
    EXPECT_EQ(Names{}, Find(""));
    EXPECT_EQ(Names{}, Find(In(""))); // a trailing separator names no file
}

TEST_F(FindTest, FindDataTellsDirectoriesAndFileSizes)
{
    WIN32_FIND_DATAA data = {};
    HANDLE find = FindFirstFileA(In("folder").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    EXPECT_STREQ("folder", data.cFileName);
    EXPECT_NE(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FindNextFileA(find, &data));
    FindClose(find);

    find = FindFirstFileA(In("notes.txt").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    EXPECT_EQ(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(5u, data.nFileSizeLow);
    FindClose(find);
}
