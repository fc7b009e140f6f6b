// GetFullPathNameA and GetCurrentDirectoryA. Expected paths are built with the platform's
// separator: that is path syntax, not behaviour.
#include "compat.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::string CurrentDirectory()
{
    char buffer[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
    EXPECT_EQ(std::strlen(buffer), n);
    return buffer;
}

// The full path of name and the offset of its file part (-1 when there is none).
std::pair<std::string, long> FullPath(const char* name)
{
    char buffer[MAX_PATH];
    char* part = buffer;
    const DWORD n = GetFullPathNameA(name, MAX_PATH, buffer, &part);
    EXPECT_EQ(std::strlen(buffer), n);
    return {buffer, part ? static_cast<long>(part - buffer) : -1L};
}

} // namespace

TEST(PathTest, CurrentDirectoryIsTheProcessDirectory)
{
    TempDir dir;
    const CurrentDirScope inside(dir.Path());
    const std::string current = CurrentDirectory();
    EXPECT_EQ(std::filesystem::current_path().string(), current);
    EXPECT_EQ(current.size() + 1, GetCurrentDirectoryA(0, nullptr));
    char small[4];
    EXPECT_EQ(current.size() + 1, GetCurrentDirectoryA(sizeof small, small));
}

TEST(PathTest, RelativeNamesResolveAgainstTheCurrentDirectory)
{
    TempDir dir;
    const CurrentDirScope inside(dir.Path());
    const std::string base = CurrentDirectory() + kSeparator;
    const long partAt = static_cast<long>(base.size());

    EXPECT_EQ(std::make_pair(base + "x.ini", partAt), FullPath("x.ini"));
    EXPECT_EQ(std::make_pair(base + "y.ini", partAt), FullPath("sub\\..\\.\\y.ini"));
    EXPECT_EQ(std::make_pair(base + "a" + kSeparator + "b" + kSeparator + "c", partAt + 4),
              FullPath("a\\\\b//c"));
    EXPECT_EQ(std::make_pair(base + "dir" + kSeparator, -1L), FullPath("dir\\")); // no file part
    const std::string absolute = base + "z.ini";
    EXPECT_EQ(std::make_pair(absolute, partAt), FullPath(absolute.c_str()));
    EXPECT_EQ(0u, GetFullPathNameA("", MAX_PATH, nullptr, nullptr));
}

TEST(PathTest, TooSmallBufferIsLeftAloneAndTheSizeNeededAnswered)
{
    TempDir dir;
    const CurrentDirScope inside(dir.Path());
    const std::string full = CurrentDirectory() + kSeparator + "x.ini";
    std::string buffer(full.size() + 1, '#');
    for (DWORD size : {DWORD(5), static_cast<DWORD>(full.size())}) {
        EXPECT_EQ(full.size() + 1, GetFullPathNameA("x.ini", size, &buffer[0], nullptr));
        EXPECT_EQ(std::string(full.size() + 1, '#'), buffer);
    }
    EXPECT_EQ(full.size(),
              GetFullPathNameA("x.ini", static_cast<DWORD>(full.size() + 1), &buffer[0], nullptr));
    EXPECT_STREQ(full.c_str(), buffer.c_str());
}
