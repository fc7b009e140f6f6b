// The built program, run as a vendor runs it: exit codes, its two output streams, the files.
#include "setmaker_test_support.h"

#include <gtest/gtest.h>

#ifdef QS_SETMAKER_PROGRAM

#include <sys/wait.h>

namespace {

// Single-quotes one argument for the shell.
std::string ShellQuoted(const std::string& strArg)
{
    std::string strQuoted = "'";
    for (const char ch : strArg)
        strQuoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return strQuoted + "'";
}

ToolRun RunProgram(const TempDir& dir, const std::vector<std::string>& args)
{
    std::string strCommand = ShellQuoted(QS_SETMAKER_PROGRAM);
    for (const std::string& strArg : args)
        strCommand += " " + ShellQuoted(strArg);
    const std::string strOutPath = dir.PathOf("stdout.txt");
    const std::string strErrPath = dir.PathOf("stderr.txt");
    strCommand += " >" + ShellQuoted(strOutPath) + " 2>" + ShellQuoted(strErrPath);
    ToolRun run;
    const int nStatus = std::system(strCommand.c_str());
    run.m_nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    run.m_strOut = ReadWholeFile(strOutPath);
    run.m_strErr = ReadWholeFile(strErrPath);
    std::filesystem::remove(strOutPath);
    std::filesystem::remove(strErrPath);
    return run;
}

} // namespace

TEST(ToolProcessTest, MakeShowAndCheckFromTheShell)
{
    TempDir dir;
    const std::string strSet = dir.PathOf("Quillory.set");
    const ToolRun made = RunProgram(
        dir, {"make", "-i", QS_EXAMPLES_DIR "/quillory-demo.ini", "-o", strSet, "info=Made from the shell"});
    ASSERT_EQ(0, made.m_nExit) << made.m_strErr;
    EXPECT_EQ("wrote " + strSet + ": 9 keys, read back and verified\n", made.m_strOut);
    EXPECT_EQ("", made.m_strErr);

    const ToolRun shown = RunProgram(dir, {"show", strSet});
    EXPECT_EQ(0, shown.m_nExit);
    EXPECT_TRUE(Contains(shown.m_strOut, "info            \"Made from the shell\"\n")) << shown.m_strOut;
    EXPECT_TRUE(Contains(shown.m_strOut, "Missing keys: none\n")) << shown.m_strOut;

    const ToolRun checked = RunProgram(dir, {"check", "--set-file", strSet, QS_EXAMPLES_DIR "/version.txt"});
    EXPECT_EQ(0, checked.m_nExit);
    EXPECT_TRUE(Contains(checked.m_strOut, "outcome             upgrade\n")) << checked.m_strOut;
}

TEST(ToolProcessTest, ExitCodesForUsageAndRefusalAndTheOldFileStays)
{
    TempDir dir;
    const std::string strSet = dir.Write("Quillory.set", "old bytes\r\n");

    const ToolRun usage = RunProgram(dir, {"make", "--output"});
    EXPECT_EQ(2, usage.m_nExit);
    EXPECT_TRUE(Contains(usage.m_strErr, "option --output needs a value")) << usage.m_strErr;

    // A leading tab is stored as 0xAE and kept; a plain 0xAD first is stored as a line feed.
    const ToolRun refused =
        RunProgram(dir, {"make", "-o", strSet, "--allow-missing", "title=\xADx", "site=\tok"});
    EXPECT_EQ(1, refused.m_nExit);
    EXPECT_EQ("", refused.m_strOut);
    EXPECT_TRUE(Contains(refused.m_strErr, "refused: key title: the character at position 0"))
        << refused.m_strErr;
    EXPECT_FALSE(Contains(refused.m_strErr, "key site")) << refused.m_strErr;
    EXPECT_EQ("old bytes\r\n", ReadWholeFile(strSet));
    EXPECT_EQ(std::vector<std::string>{"Quillory.set"}, FolderEntries(dir.Path()));

    EXPECT_EQ(0, RunProgram(dir, {"--help"}).m_nExit);
}

#endif
