// The command line: usage errors (exit 2), help, and make from a plain source file with
// KEY=VALUE arguments on top.
#include "setmaker_test_support.h"

#include <gtest/gtest.h>

TEST(CommandLineTest, WrongCommandLinesAreUsageErrorsThatWriteNothing)
{
    TempDir dir;
    const std::string strOut = dir.PathOf("x.set");
    const std::vector<std::vector<std::string>> kWrong = {
        {},
        {"frobnicate"},
        {"make", "title=x"},                  // no output
        {"make", "-o", strOut},               // no values
        {"make", "-o", strOut, "colour=red"}, // unknown key
        {"make", "-o", strOut, "title"},      // no "="
        {"make", "-o"},                       // option without its value
        {"make", "--allow-missing=yes", "-o", strOut, "title=x"},
        {"make", "-x", "-o", strOut, "title=x"},
        {"show"},
        {"show", "a.set", "b.set"},
        {"check", "doc.txt"}, // no installed text
        {"check", "--installed", "x", "--set-file", "a.set", "doc.txt"},
        {"check", "--installed", "x"}, // no document
        {"help", "frobnicate"},
    };
    for (const std::vector<std::string>& args : kWrong) {
        const ToolRun run = RunTool(args);
        std::string strArgs;
        for (const std::string& strArg : args)
            strArgs += strArg + " ";
        EXPECT_EQ(2, run.m_nExit) << strArgs;
        EXPECT_TRUE(Contains(run.m_strErr, "--help\".")) << strArgs << run.m_strErr;
        EXPECT_EQ("", run.m_strOut) << strArgs;
    }
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(CommandLineTest, HelpForTheToolAndEachCommand)
{
    const ToolRun tool = RunTool({"--help"});
    EXPECT_EQ(0, tool.m_nExit);
    EXPECT_TRUE(Contains(tool.m_strOut, "setmaker make [-i SOURCE.ini] -o OUTPUT.set"));
    for (const char* pszCommand : {"make", "show", "check"}) {
        const ToolRun help = RunTool({pszCommand, "--help"});
        EXPECT_EQ(0, help.m_nExit);
        EXPECT_TRUE(Contains(help.m_strOut, std::string("Usage: setmaker ") + pszCommand)) << help.m_strOut;
        EXPECT_EQ(help.m_strOut, RunTool({"help", pszCommand}).m_strOut);
    }
    EXPECT_TRUE(Contains(RunTool({"--version"}).m_strOut, "setmaker 1."));
}

TEST(CommandLineTest, MakeReadsTheSourceLikeAnyIniFileAndArgumentsWin)
{
    TempDir dir;
    // Blanks around values go, quotes keep them; letter case of section and keys is free; an
    // unknown key and a repeated one are reported.
    const std::string strSource = dir.Write(
        "src.ini",
        "; plain values\n[Information]\nTITLE =  Quillory Upgrade  \ninfo=\" two blanks  \"\n"
        "installed=Sample App Version 3.1 Build 5\n"
        "site=Site\nweblink=127.0.0.1:8642/quillory\nmailtext=Mail\nwebmail=a@b.c\nwizfile=version.txt\n"
        "updatefilename=Old.exe\ncolour=red\ntitle=Second title\n");
    const std::string strSet = dir.PathOf("Quillory.set");
    const ToolRun run =
        RunTool({"make", "--input", strSource, "--output=" + strSet, "updatefilename= New.exe "});
    ASSERT_EQ(0, run.m_nExit) << run.m_strErr;
    EXPECT_TRUE(Contains(run.m_strOut, "wrote " + strSet + ": 9 keys, read back and verified\n"))
        << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strErr, "key \"colour\" of section [information] is not one Upvane reads"))
        << run.m_strErr;
    EXPECT_TRUE(Contains(run.m_strErr, "key title appears more than once; the first one is used"))
        << run.m_strErr;

    const SetFileReading reading = ReadSetFileAsUpvane(strSet);
    EXPECT_EQ(CString("Quillory Upgrade"), reading.m_values[keyTitle].value_or("<none>"));
    EXPECT_EQ(CString(" two blanks  "), reading.m_values[keyInfo].value_or("<none>"));
    // An argument is taken as it stands: its blanks stay (they scramble to bytes the reader keeps).
    EXPECT_EQ(CString(" New.exe "), reading.m_values[keyUpdateFileName].value_or("<none>"));
}

TEST(CommandLineTest, MakeFailsForAMissingSourceAndRefusesWithExitOne)
{
    TempDir dir;
    const std::string strSet = dir.Write("Quillory.set", "old");
    const ToolRun missing = RunTool({"make", "-i", dir.PathOf("none.ini"), "-o", strSet});
    EXPECT_EQ(1, missing.m_nExit);
    EXPECT_TRUE(Contains(missing.m_strErr, "cannot read")) << missing.m_strErr;

    // A blank at position 135 scrambles to NUL.
    const ToolRun refused =
        RunTool({"make", "-o", strSet, "--allow-missing", "info=" + std::string(135, 'a') + " b"});
    EXPECT_EQ(1, refused.m_nExit);
    EXPECT_TRUE(Contains(refused.m_strErr, "setmaker: refused: key info: the character at position 135"))
        << refused.m_strErr;
    EXPECT_TRUE(Contains(refused.m_strErr, "nothing written")) << refused.m_strErr;
    EXPECT_EQ("old", ReadWholeFile(strSet));
}
