// setmaker show: the values as Upvane reads them, and the keys it would find missing.
#include "Descramble.h"
#include "setmaker_test_support.h"

#include <gtest/gtest.h>

namespace {

std::string Stored(const char* pszPlain)
{
    const CString strStored = ToggleScrambling(pszPlain);
    return std::string(strStored.GetString(), strStored.GetLength());
}

} // namespace

TEST(ShowCommandTest, ListsValuesAndNamesTheMissingKeys)
{
    TempDir dir;
    // Section and key in other letter case are found, as Upvane's reader finds them; info and
    // site are absent; updatefilename is there, empty.
    const std::string strPath =
        dir.Write("Vendor.set", "[INFORMATION]\r\nTITLE=" + Stored("Quillory Upgrade") + "\r\n"
                                    + "installed=" + Stored("Sample App Version 3.1 Build 5") + "\r\n"
                                    + "weblink=" + Stored("example.com/q") + "\r\n"
                                    + "mailtext=" + Stored("Mail") + "\r\n" + "webmail=" + Stored("a@b.c")
                                    + "\r\n" + "wizfile=" + Stored("v.txt") + "\r\n" + "updatefilename=\r\n");
    const ToolRun run = RunTool({"show", strPath});
    ASSERT_EQ(0, run.m_nExit) << run.m_strErr;
    EXPECT_TRUE(Contains(run.m_strOut, "title           \"Quillory Upgrade\"\n")) << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "info            (missing)\n")) << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "site            (missing)\n")) << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "updatefilename  \"\"\n")) << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "Missing keys: info, site (Upvane shows them empty)\n"))
        << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "\"Installed  Version:  Sample App Version 3.1 Build 5\""))
        << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "\"http://example.com/q/v.txt\"")) << run.m_strOut;
    // Each link with the address it opens.
    EXPECT_TRUE(Contains(run.m_strOut, "mail link         \"Mail\" -> \"mailto:a@b.c\"\n")) << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "web-site link     \"\" -> \"http://example.com/q\"\n"))
        << run.m_strOut;
    // An empty update file name gives an address that ends in the slash.
    EXPECT_TRUE(Contains(run.m_strOut, "download          \"http://example.com/q/\"")) << run.m_strOut;
    EXPECT_EQ("", run.m_strErr);
}

TEST(ShowCommandTest, AFileWithoutTheSectionShowsEveryKeyMissing)
{
    TempDir dir;
    const ToolRun run = RunTool({"show", dir.Write("plain.set", "[other]\r\ntitle=x\r\n")});
    ASSERT_EQ(0, run.m_nExit);
    EXPECT_TRUE(Contains(run.m_strOut, "It has no section [information].\n"));
    EXPECT_TRUE(Contains(run.m_strOut,
                         "Missing keys: title, info, installed, site, weblink, mailtext, webmail, "
                         "wizfile, updatefilename (Upvane shows them empty)"));
}

TEST(ShowCommandTest, AMissingFileFailsAndStrangeBytesAreEscaped)
{
    TempDir dir;
    const ToolRun missing = RunTool({"show", dir.PathOf("none.set")});
    EXPECT_EQ(1, missing.m_nExit);
    EXPECT_TRUE(Contains(missing.m_strErr, "cannot read")) << missing.m_strErr;
    EXPECT_EQ("", missing.m_strOut);

    const std::string strOdd =
        dir.Write("odd.set", "[information]\r\ntitle=" + Stored("a\"\\\x01\xE9\n") + "\r\n");
    const ToolRun run = RunTool({"show", strOdd});
    ASSERT_EQ(0, run.m_nExit);
    EXPECT_TRUE(Contains(run.m_strOut, "title           \"a\\\"\\\\\\x01\\xE9\\n\"\n")) << run.m_strOut;
}

TEST(ShowCommandTest, PrintsTheAddressesUpvaneUsesAndWarnsOfAWebLinkThatCannotWork)
{
    TempDir dir;
    const std::string strPath = dir.Write(
        "Vendor.set", "[information]\r\nweblink=" + Stored("https://u:p@example.com/q#top") + "\r\n"
                          + "wizfile=" + Stored("v.txt") + "\r\nupdatefilename=" + Stored("u.exe") + "\r\n");
    const ToolRun run = RunTool({"show", strPath});
    ASSERT_EQ(0, run.m_nExit) << run.m_strErr;
    // The request leaves the fragment out; the shell gets no credentials.
    EXPECT_TRUE(Contains(run.m_strOut, "version document  \"https://u:p@example.com/q\"\n")) << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "web-site link     \"\" -> \"https://example.com/q#top\"\n"))
        << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "download          \"https://example.com/q#top/u.exe\"\n"))
        << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strErr, "setmaker: warning: the web address holds \"#\"")) << run.m_strErr;
}
