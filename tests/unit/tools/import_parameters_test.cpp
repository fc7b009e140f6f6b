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

TEST(ChooseRegistryEditor, TakesTheThirtyTwoBitSystemFolderOnlyForAThirtyTwoBitToolOnSixtyFourBitWindows)
{
    // 32-bit tool on 64-bit Windows: the 32-bit editor, so the import lands in the 32-bit view.
    EXPECT_EQ(ChooseRegistryEditor(true, "C:\\Windows", "C:\\Windows\\SysWOW64"),
              "C:\\Windows\\SysWOW64\\regedit.exe");
    // Elsewhere the shared Windows directory, as before; a drive's root keeps one backslash.
    EXPECT_EQ(ChooseRegistryEditor(false, "C:\\Windows", ""), "C:\\Windows\\regedit.exe");
    EXPECT_EQ(ChooseRegistryEditor(false, "D:\\", "C:\\Windows\\SysWOW64"), "D:\\regedit.exe");
    // A folder the system could not name starts nothing, never the 64-bit editor instead.
    EXPECT_EQ(ChooseRegistryEditor(true, "C:\\Windows", ""), "");
    EXPECT_EQ(ChooseRegistryEditor(false, "", ""), "");
}

} // namespace
