#include "ToolDirectory.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "compat.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

// The length of "Regpick.exe" and the separator before it.
const size_t kNameWithSeparator = 12;
// GetToolDirectory's buffer, terminator included.
const size_t kBufferSize = 256;

std::string CurrentDirectory()
{
    char buffer[1024] = {};
    const DWORD n = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// Creates folders below the current directory until its full path has exactly `length`
// characters, and makes that the current directory (restored by the caller's scope).
fs::path MakeDirectoryOfLength(size_t length)
{
    std::string path = CurrentDirectory();
    EXPECT_LT(path.size() + 2, length) << "the temp folder's path is too long for this test";
    while (path.size() < length) {
        size_t remaining = length - path.size();
        size_t part = std::min<size_t>(remaining - 1, 100);
        // Never leave exactly one character: a folder needs a separator and a name.
        if (remaining - 1 - part == 1)
            --part;
        path += kSeparator;
        path += std::string(part, 'd');
    }
    fs::create_directories(path);
    return fs::path(path);
}

TEST(GetToolDirectory, IsTheCurrentDirectoryWithItsSeparator)
{
    TempDir first;
    TempDir second;
    {
        CurrentDirScope in(first.Path());
        const std::string directory = GetToolDirectory();
        EXPECT_EQ(directory, CurrentDirectory() + kSeparator);
        EXPECT_NE(directory.find(fs::path(first.Path()).filename().string() + kSeparator), std::string::npos)
            << directory;
    }
    {
        // Another working directory names another folder: nothing is looked for on disk.
        CurrentDirScope in(second.Path());
        const std::string directory = GetToolDirectory();
        EXPECT_EQ(directory, CurrentDirectory() + kSeparator);
        EXPECT_NE(directory.find(fs::path(second.Path()).filename().string() + kSeparator), std::string::npos)
            << directory;
    }
}

TEST(GetToolDirectory, KeepsTheSeparatorOfADriveRoot)
{
#ifdef _WIN32
    const std::string root = CurrentDirectory().substr(0, 3); // "C:\" and the like
    ASSERT_EQ(root.substr(1), ":\\");
#else
    const std::string root = "/";
#endif
    CurrentDirScope in(root);
    EXPECT_EQ(GetToolDirectory(), root);
}

TEST(GetToolDirectory, IsEmptyWhenTheFullPathDoesNotFitTheBuffer)
{
    TempDir base;
    CurrentDirScope inBase(base.Path());
    {
        // The full path has 255 characters: it just fits with its terminator.
        const size_t length = kBufferSize - 1 - kNameWithSeparator;
        CurrentDirScope in(MakeDirectoryOfLength(length).string());
        const std::string directory = GetToolDirectory();
        EXPECT_EQ(directory.size(), length + 1);
        EXPECT_EQ(directory, CurrentDirectory() + kSeparator);
    }
    {
        // One more character: GetFullPathNameA answers the size it needs and fills nothing.
        const size_t length = kBufferSize - kNameWithSeparator;
        CurrentDirScope in(MakeDirectoryOfLength(length).string());
        ASSERT_EQ(CurrentDirectory().size(), length);
        EXPECT_EQ(GetToolDirectory(), "");
    }
}

} // namespace
