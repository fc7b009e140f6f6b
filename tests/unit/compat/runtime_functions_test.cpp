// _strupr and _mbscmp in the default locale.
#include "compat.h"

#include <gtest/gtest.h>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

int Compare(const char* a, const char* b)
{
    return Sign(
        _mbscmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b)));
}

} // namespace

TEST(RuntimeTest, StruprUpperCasesAsciiLettersInPlace)
{
    char text[] = "az AZ @[`{ 09 \xE4\xF6";
    EXPECT_EQ(text, _strupr(text));
    EXPECT_STREQ("AZ AZ @[`{ 09 \xE4\xF6", text);
}

TEST(RuntimeTest, MbscmpComparesUnsignedBytesWithCaseSignificant)
{
    EXPECT_EQ(0, Compare("1.20", "1.20"));
    EXPECT_EQ(-1, Compare("a", "\xE4")); // bytes above 0x7F sort after ASCII
    EXPECT_EQ(1, Compare("a", "A"));
    EXPECT_EQ(1, Compare("ab", "a"));
    EXPECT_EQ(-1, Compare("", "a"));
    EXPECT_EQ(-1, Compare("1.9", "2.0"));
}
