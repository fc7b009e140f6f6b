// Readers over files that change or alternate: each Open loads the file as it is now, and
// each reader's values come from its own file.
#include "CIniFile.h"
#include "profile_roads.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>

// Each case runs on both roads of the profile reads.
class CIniFileReopenTest : public ::testing::TestWithParam<const ProfileReader*>
{};
QS_ON_EACH_PROFILE_ROAD(CIniFileReopenTest);

TEST_P(CIniFileReopenTest, OpenAfterARewriteOfTheSameSizeLoadsTheNewSections)
{
    TempDir dir;
    const std::string file = dir.Write("app.set", "[alpha]\r\nk=1\r\n[beta]\r\nm=2\r\n");
    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(file.c_str()));
    ASSERT_STREQ("1", ini.GetValue("alpha", "k", ""));

    dir.Write("app.set", "[omega]\r\nz=9\r\n[gamma]\r\nn=3\r\n");
    ASSERT_TRUE(ini.Open(file.c_str()));
    ASSERT_EQ(2, ini.GetSectionCount());
    EXPECT_STREQ("omega", ini.GetSectionName(0));
    EXPECT_FALSE(ini.HasSection("alpha"));
    EXPECT_TRUE(ini.HasKey("gamma", "n"));
    EXPECT_STREQ("9", ini.GetValue("omega", "z", ""));
}

TEST_P(CIniFileReopenTest, ReadersOfTwoFilesUsedInTurnKeepTheirOwnValues)
{
    TempDir dir;
    CIniFile first(*GetParam());
    CIniFile second(*GetParam());
    ASSERT_TRUE(first.Open(dir.Write("first.set", "[information]\r\ncaption=First\r\n").c_str()));
    ASSERT_TRUE(second.Open(dir.Write("second.set", "[information]\r\ncaption=Other\r\n").c_str()));
    for (int round = 0; round < 3; ++round) {
        EXPECT_STREQ("First", first.GetValue("information", "caption", ""));
        EXPECT_STREQ("Other", second.GetValue("information", "caption", ""));
    }
}
