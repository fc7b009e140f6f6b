#include <gtest/gtest.h>

#include <string>

#include "ShortcutPath.h"

namespace {

const char kDesktop[] = "C:\\users\\quill\\Desktop";

TEST(ShortcutPath, FolderBackslashTextAndExtension)
{
    CString path;
    ASSERT_TRUE(MakeShortcutPath(kDesktop, "Quillory Home Page", path));
    EXPECT_EQ(path, "C:\\users\\quill\\Desktop\\Quillory Home Page.URL");

    // The text is used unchanged: dots, blanks, apostrophes and characters the file system
    // may refuse are all left to it.
    ASSERT_TRUE(MakeShortcutPath(kDesktop, " What's new?. ", path));
    EXPECT_EQ(path, "C:\\users\\quill\\Desktop\\ What's new?. .URL");
}

TEST(ShortcutPath, EmptyTextGivesOnlyTheExtension)
{
    CString path;
    ASSERT_TRUE(MakeShortcutPath(kDesktop, "", path));
    EXPECT_EQ(path, "C:\\users\\quill\\Desktop\\.URL");
}

TEST(ShortcutPath, RootFolderGetsNoSecondSeparator)
{
    CString path;
    ASSERT_TRUE(MakeShortcutPath("D:\\", "Site", path));
    EXPECT_EQ(path, "D:\\Site.URL");
    ASSERT_TRUE(MakeShortcutPath("D:/shares/", "Site", path));
    EXPECT_EQ(path, "D:/shares/Site.URL");
}

TEST(ShortcutPath, LongestPathThatFitsTheBufferAndOneMore)
{
    const std::string folder = kDesktop;
    // folder + "\" + text + ".URL" + terminator == 260
    const int nFits = kShortcutPathBufferSize - 1 - static_cast<int>(folder.size()) - 1 - 4;
    CString path;
    ASSERT_TRUE(MakeShortcutPath(kDesktop, CString('a', nFits), path));
    EXPECT_EQ(path.GetLength(), kShortcutPathBufferSize - 1);
    EXPECT_EQ(path.Right(5), "a.URL");

    path = "stale";
    EXPECT_FALSE(MakeShortcutPath(kDesktop, CString('a', nFits + 1), path));
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_FALSE(MakeShortcutPath(kDesktop, CString('a', 5000), path));
    EXPECT_FALSE(MakeShortcutPath(CString('f', 300), "Site", path));
}

TEST(ShortcutPath, TextThatWouldLeaveTheFolderIsRefused)
{
    CString path;
    EXPECT_FALSE(MakeShortcutPath(kDesktop, "..\\Site", path));
    EXPECT_FALSE(MakeShortcutPath(kDesktop, "sub/Site", path));
    EXPECT_FALSE(MakeShortcutPath(kDesktop, "C:Site", path));
    EXPECT_FALSE(MakeShortcutPath(kDesktop, "Site:stream", path));
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_FALSE(MakeShortcutPath("", "Site", path));
}

} // namespace
