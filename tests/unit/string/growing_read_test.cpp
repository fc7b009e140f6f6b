#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "GrowingRead.h"

namespace {

// GetModuleFileNameA's way with a path of a given length: a buffer too small gets as much as
// fits and a terminator, and the answer is the buffer's size.
struct ModulePathReader
{
    std::string path;
    std::vector<unsigned long> sizesTried;

    unsigned long operator()(char* buffer, unsigned long size)
    {
        sizesTried.push_back(size);
        if (path.size() < size) {
            std::memcpy(buffer, path.c_str(), path.size() + 1);
            return static_cast<unsigned long>(path.size());
        }
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        return size;
    }
};

std::string PathOfLength(size_t length)
{
    std::string path = "C:\\";
    while (path.size() < length)
        path += std::string(std::min<size_t>(length - path.size(), 200), 'p') + "\\";
    path.resize(length - 4);
    return path + ".exe";
}

CString ReadModulePath(ModulePathReader& reader)
{
    return ReadGrowing([&](char* buffer, unsigned long size) { return reader(buffer, size); }, 260,
                       kLongestPathBuffer);
}

TEST(ReadGrowing, ModulePathsOfEveryLengthUpToTheSystemsLongestAreReadWhole)
{
    // Across each doubling of the buffer and up to 32,767 characters.
    for (size_t length : {10, 259, 260, 519, 520, 16639, 16640, 20000, 32766, 32767}) {
        ModulePathReader reader{PathOfLength(length), {}};
        const CString path = ReadModulePath(reader);
        EXPECT_EQ(std::string(path), reader.path) << "length " << length;
        EXPECT_EQ(path.GetLength(), static_cast<int>(length));
    }
}

TEST(ReadGrowing, BuffersDoubleAndTheLastHoldsTheLongestPath)
{
    ModulePathReader reader{PathOfLength(kLongestPathLength), {}};
    ReadModulePath(reader);
    EXPECT_EQ(reader.sizesTried,
              (std::vector<unsigned long>{260, 520, 1040, 2080, 4160, 8320, 16640, 32768}));
}

TEST(ReadGrowing, FailureOrATextLongerThanTheLimitGivesEmptyText)
{
    ModulePathReader tooLong{PathOfLength(kLongestPathBuffer), {}};
    EXPECT_TRUE(ReadModulePath(tooLong).IsEmpty());
    EXPECT_EQ(tooLong.sizesTried.back(), kLongestPathBuffer);

    int calls = 0;
    const CString failed = ReadGrowing(
        [&](char*, unsigned long) {
            ++calls;
            return 0ul;
        },
        260, kLongestPathBuffer);
    EXPECT_TRUE(failed.IsEmpty());
    EXPECT_EQ(calls, 1);
}

} // namespace
