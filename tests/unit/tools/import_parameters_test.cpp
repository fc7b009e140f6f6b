#include "ImportParameters.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildImportParameters, QuotesTheWholePathAfterTheSilentSwitch)
{
    EXPECT_EQ(BuildImportParameters("D:\\Tools\\", "Quil1280Pro.reg"), "/s \"D:\\Tools\\Quil1280Pro.reg\"");
    EXPECT_EQ(BuildImportParameters("C:\\", "Quil1920Pro.reg"), "/s \"C:\\Quil1920Pro.reg\"");
}

TEST(BuildImportParameters, KeepsBlanksInsideTheQuotes)
{
    EXPECT_EQ(BuildImportParameters("C:\\Program Files\\Quill Tools\\", "Quil1024Pro.reg"),
              "/s \"C:\\Program Files\\Quill Tools\\Quil1024Pro.reg\"");
}

TEST(BuildImportParameters, NamesTheFileAloneWithoutADirectory)
{
    // The editor then resolves the name against its own working directory.
    EXPECT_EQ(BuildImportParameters("", "Quil1680Pro.reg"), "/s \"Quil1680Pro.reg\"");
}

TEST(BuildImportParameters, StaysEmptyWithoutAFile)
{
    EXPECT_EQ(BuildImportParameters("D:\\Tools\\", nullptr), "");
    EXPECT_EQ(BuildImportParameters("", nullptr), "");
}

} // namespace
