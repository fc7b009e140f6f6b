// setmaker check: the outcome Upvane's own decision gives, its parts, and layout warnings.
#include "DisplayText.h"
#include "VersionCheck.h"
#include "setmaker_test_support.h"

#include <gtest/gtest.h>

namespace {

struct CheckCase
{
    const char* name;
    const char* installed;
    std::string document;
    const char* outcome;
    const char* warning; // a part of the expected warnings; "" for none at all
};

const CheckCase kCases[] = {
    {"worked example", "Sample App Version 3.1 Build 5", "Sample App Version 3.2 Build 7", "upgrade", ""},
    {"equal texts, longer document", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7\r\nNews", "latest", ""},
    {"same version, lower build offered", "Sample App Version 3.2 Build 8", "Sample App Version 3.2 Build 7",
     "upgrade", ""},
    {"installed version higher", "Sample App Version 3.3 Build 1", "Sample App Version 3.2 Build 7", "latest",
     ""},
    {"higher version, same build", "Sample App Version 3.1 Build 7", "Sample App Version 3.2 Build 7",
     "no message", ""},
    {"compared by characters", "Sample App Version 3.9 Build 5", "Sample App Version 3.10 Build 6", "latest",
     "the version document is 31 characters long"},
    {"error page", "Sample App Version 3.1 Build 5", "<h1>Resource not found</h1>", "document missing", ""},
    {"long form of 32 characters", "Q7 Samples Version 3.1 Build 517", "Q7 Samples Version 3.1 Build 517\r\n",
     "latest", ""},
    {"version elsewhere", "Sample App Version 3.1 Build 5", "Sample Version 3.2 Build 7", "latest",
     "the version document has the word \"version\" at position 7, not 11: "
     "the version part is cut 4 characters too short"},
    {"no build in the document", "Sample App Version 3.1 Build 5", "Sample App Version 3.2", "latest",
     "the version document has no word \"build\""},
    {"line break before build", "Sample App Version 3.1 Build 5", "Sample App Version 3.2\nBuild 7",
     "upgrade", "the version document has a line break at position 22"},
    {"empty document", "Sample App Version 3.1 Build 5", "", "latest", "the version document is empty"},
    {"installed too long", "Sample App Version 3.1 Build 15", "Sample App Version 3.1 Build 15", "upgrade",
     "the installed text is 31 characters long"},
};

std::string Line(const char* pszLabel, const CString& strText)
{
    char label[32];
    std::snprintf(label, sizeof label, "%-19s ", pszLabel);
    return label + QuotedText(strText) + "\n";
}

} // namespace

TEST(CheckCommandTest, OutcomesAndPartsAreThoseOfUpvanesDecision)
{
    TempDir dir;
    for (const CheckCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string strDocument = dir.Write("version.txt", c.document);
        const ToolRun run = RunTool({"check", "--installed", c.installed, strDocument});
        ASSERT_EQ(0, run.m_nExit) << run.m_strErr;
        EXPECT_TRUE(Contains(run.m_strOut, std::string("outcome             ") + c.outcome + "\n"))
            << run.m_strOut;

        const VersionCheckResult r =
            DecideVersionCheck(c.installed, CString("Installed  Version:  ") + c.installed, c.document.data(),
                               static_cast<int>(c.document.size()));
        EXPECT_TRUE(Contains(run.m_strOut, Line("examined text", r.m_strExamined))) << run.m_strOut;
        EXPECT_TRUE(Contains(run.m_strOut, Line("installed version", r.m_parts.m_strInstalledVersion)))
            << run.m_strOut;
        EXPECT_TRUE(Contains(run.m_strOut, Line("installed build", r.m_parts.m_strInstalledBuild)))
            << run.m_strOut;
        EXPECT_TRUE(Contains(run.m_strOut, Line("available version", r.m_parts.m_strAvailableVersion)))
            << run.m_strOut;
        EXPECT_TRUE(Contains(run.m_strOut, Line("available build", r.m_parts.m_strAvailableBuild)))
            << run.m_strOut;
        EXPECT_TRUE(Contains(run.m_strOut, Line("version display", r.m_strVersionDisplay))) << run.m_strOut;
        if (*c.warning) {
            EXPECT_TRUE(Contains(run.m_strErr, c.warning)) << run.m_strErr;
        } else {
            EXPECT_EQ("", run.m_strErr);
        }
    }
}

TEST(CheckCommandTest, WorkedExamplePrintsTheComparisonsAndWhatTheDialogDoes)
{
    TempDir dir;
    const ToolRun run = RunTool({"check", "--installed", "Sample App Version 3.1 Build 5",
                                 dir.Write("version.txt", "Sample App Version 3.2 Build 7\r\n")});
    ASSERT_EQ(0, run.m_nExit);
    EXPECT_TRUE(Contains(run.m_strOut, "version comparison  installed < available\n"
                                       "build comparison    installed < available\n"));
    EXPECT_TRUE(Contains(run.m_strOut,
                         "result line         \"This is an upgrade\\nClick Download to get the Upgrade\"\n"));
    EXPECT_TRUE(Contains(run.m_strOut, "Download button     enabled\n"));
    EXPECT_TRUE(
        Contains(run.m_strOut, "what's-new link     \"See what's new in Version 3.2Build 7\", shown\n"));
}

TEST(CheckCommandTest, InstalledTextFromASetFileAndOnlyTheFirst200BytesRead)
{
    TempDir dir;
    const ToolRun made = RunTool(
        {"make", "-o", dir.PathOf("q.set"), "--allow-missing", "installed=Sample App Version 3.2 Build 7"});
    ASSERT_EQ(0, made.m_nExit) << made.m_strErr;
    // "Resource not found" beyond the first 200 bytes is never received.
    const std::string strDocument =
        "Sample App Version 3.2 Build 7" + std::string(200, ' ') + "Resource not found";
    const ToolRun run =
        RunTool({"check", "--set-file", dir.PathOf("q.set"), dir.Write("v.txt", strDocument)});
    ASSERT_EQ(0, run.m_nExit) << run.m_strErr;
    EXPECT_TRUE(Contains(run.m_strOut, "outcome             latest\n")) << run.m_strOut;

    const ToolRun noInstalled =
        RunTool({"check", "--set-file", dir.Write("empty.set", "[information]\r\n"), dir.PathOf("v.txt")});
    EXPECT_EQ(0, noInstalled.m_nExit);
    EXPECT_TRUE(Contains(noInstalled.m_strErr, "has no key installed; Upvane takes empty text"));
}
