#include "AppStrings.h"
#include "Descramble.h"

#include <gtest/gtest.h>

TEST(DescrambleTest, KnownScrambledBytesGiveThePlainText)
{
    // 'w' (0x77) at index 0, 1, 2: 0x77 ^ i ^ 0xA7.
    g_strScratch = "\xD0\xD1\xD2";
    DescrambleValue();
    EXPECT_STREQ("www", g_strScratch);

    EXPECT_STREQ("\xE6\xC4", ToggleScrambling("Ab"));
}

TEST(DescrambleTest, IndexWrapsToZeroAt256OverA300ByteValue)
{
    // Every byte 0xA7 descrambles to its own index, taken modulo 256.
    g_strScratch = CString('\xA7', 300);
    DescrambleValue();
    ASSERT_EQ(300, g_strScratch.GetLength());
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(i & 0xFF, static_cast<unsigned char>(g_strScratch.GetAt(i))) << "index " << i;
}

TEST(DescrambleTest, EmptyValueStaysEmpty)
{
    g_strScratch.Empty();
    DescrambleValue();
    EXPECT_TRUE(g_strScratch.IsEmpty());
}

TEST(DescrambleTest, ScramblingTwiceGivesTheTextBackAndLeavesTheSourceAlone)
{
    const CString strPlain("Sample App Version 3.2 Build 7 \xE9\xFF");
    const CString strScrambled = ToggleScrambling(strPlain);
    EXPECT_EQ(strPlain.GetLength(), strScrambled.GetLength());
    EXPECT_NE(strPlain, strScrambled);
    EXPECT_STREQ("Sample App Version 3.2 Build 7 \xE9\xFF", strPlain);

    g_strScratch = strScrambled;
    DescrambleValue();
    EXPECT_EQ(strPlain, g_strScratch);
}
