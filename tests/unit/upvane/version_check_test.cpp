#include "CheckAnnouncement.h"
#include "VersionCheck.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <mbstring.h>
#endif

#include <ostream>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

constexpr char kUpgrade[] = "This is an upgrade\nClick Download to get the Upgrade";
constexpr char kLatest[] = "You have the latest version.";

// The received bytes in a heap block of exactly their size, so that the sanitizer build
// catches any read past the count.
VersionCheckResult Decide(const CString& strInstalled, const std::string& document)
{
    std::vector<char> received(document.begin(), document.end());
    return DecideVersionCheck(strInstalled, "Installed  Version:  " + strInstalled, received.data(),
                              static_cast<int>(received.size()));
}

struct DecisionCase
{
    const char* name;
    const char* installed;
    std::string document;
    const char* examined;
    const char* parts[4]; // installed version, installed build, available version, available build
    ControlChange download;
    bool showWhatsNew;
    const char* result; // text for control 1010; nullptr: left unchanged
};

// One line of the file, or one case, a line.
// clang-format off
const DecisionCase kCases[] = {
    {"WorkedExampleIsAnUpgrade", "Sample App Version 3.1 Build 5", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7", {"Version 3.1", "Build 5", "Version 3.2", "Build 7"},
     ControlChange::Enable, true, kUpgrade},
    {"EqualIsLatest", "Sample App Version 3.2 Build 7", "Sample App Version 3.2 Build 7\r\nmore",
     "Sample App Version 3.2 Build 7", {"Version 3.2", "Build 7", "Version 3.2", "Build 7"},
     ControlChange::Disable, false, kLatest},
    {"SameVersionLowerBuildIsAnUpgrade", "Sample App Version 3.2 Build 8", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7", {"Version 3.2", "Build 8", "Version 3.2", "Build 7"},
     ControlChange::Enable, true, kUpgrade},
    {"SameVersionHigherBuildIsAnUpgrade", "Sample App Version 3.2 Build 5", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7", {"Version 3.2", "Build 5", "Version 3.2", "Build 7"},
     ControlChange::Enable, true, kUpgrade},
    {"InstalledHigherIsLatestWhateverTheBuild", "Sample App Version 3.3 Build 1", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7", {"Version 3.3", "Build 1", "Version 3.2", "Build 7"},
     ControlChange::Disable, false, kLatest},
    {"HigherVersionSameBuildSetsNothing", "Sample App Version 3.1 Build 7", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7", {"Version 3.1", "Build 7", "Version 3.2", "Build 7"},
     ControlChange::Unchanged, false, ""},
    {"VersionComparedByCharacters", "Sample App Version 3.9 Build 5", "Sample App Version 3.10 Build5",
     "Sample App Version 3.10 Build5", {"Version 3.9", "Build 5", "Version 3.10", "Build5"},
     ControlChange::Disable, false, kLatest},
    {"BuildComparedByCharacters", "Sample App Version 3.2 Build 9", "Sample Ap Version 3.3 Build 10",
     "Sample Ap Version 3.3 Build 10", {"Version 3.2", "Build 9", "Version 3.3", "Build 10"},
     ControlChange::Unchanged, false, ""},
    {"VersionLetterCaseCounts", "Sample App Version 3.2 Build 7", "Sample App version 3.2 Build 7",
     "Sample App version 3.2 Build 7", {"Version 3.2", "Build 7", "version 3.2", "Build 7"},
     ControlChange::Unchanged, false, ""},
    {"BuildLetterCaseCounts", "Sample App Version 3.2 Build 7", "Sample App Version 3.2 BUILD 7",
     "Sample App Version 3.2 BUILD 7", {"Version 3.2", "Build 7", "Version 3.2", "BUILD 7"},
     ControlChange::Enable, true, kUpgrade},
    {"InstalledBuildKeepsTrailingBlanks", "Sample App Version 3.2 Build 7  ", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7", {"Version 3.2", "Build 7  ", "Version 3.2", "Build 7"},
     ControlChange::Enable, true, kUpgrade},
    {"DocumentWithoutBuild", "Sample App Version 3.1 Build 5", "Sample App Version 3.2 Beta 7",
     "Sample App Version 3.2 Beta 7", {"Version 3.1", "Build 5", "", "Sample App Version 3.2 Beta 7"},
     ControlChange::Disable, false, kLatest},
    {"InstalledWithoutVersionAndBuild", "Quillory 2024", "Sample App Version 3.2 Build 7",
     "Sample App Version 3.2 Build 7", {"", "Quillory 2024", "Version 3.2", "Build 7"},
     ControlChange::Unchanged, false, ""},
    {"Q7DocumentExaminedOver32", "Sample App Version 3.1 Build 5", "Q7Sample App Version 3.2 Build 7",
     "Q7Sample App Version 3.2 Build 7", {"Version 3.1", "Build 5", "Version 3.2 Bu", "Build 7"},
     ControlChange::Enable, true, kUpgrade},
    {"OtherDocumentLosesTwoCharacters", "Sample App Version 3.1 Build 5", "Q8Sample App Version 3.2 Build 7",
     "Q8Sample App Version 3.2 Build", {"Version 3.1", "Build 5", "Version 3.2 Bu", "Build"},
     ControlChange::Unchanged, false, ""},
    {"Q7OnlyCountsAtTheStart", "Sample App Version 3.1 Build 5", " Q7ample App Version 3.2 Build 7",
     " Q7ample App Version 3.2 Build", {"Version 3.1", "Build 5", "Version 3.2 Bu", "Build"},
     ControlChange::Unchanged, false, ""},
    // 31 characters: the last is not examined, so the same text as installed reads as a lower build.
    {"ThirtyOneCharactersLoseTheLast", "Sample App Version 3.2 Build 71", "Sample App Version 3.2 Build 71",
     "Sample App Version 3.2 Build 7", {"Version 3.2", "Build 71", "Version 3.2", "Build 7"},
     ControlChange::Enable, true, kUpgrade},
    {"Q7DocumentOf31CharactersIsExaminedWhole", "Sample App Version 3.2 Build 715",
     "Q7 Sample Version 3.2 Build 715", "Q7 Sample Version 3.2 Build 715",
     {"Version 3.2", "Build 715", "Version 3.2", "Build 715"}, ControlChange::Disable, false, kLatest},
    {"ResourceNotFoundIsMissing", "Sample App Version 3.1 Build 5", "<h1>Resource not found</h1>",
     "<h1>Resource not found</h1>", {"Version 3.1", "Build 5", "", "<h1>Resource not found</h1>"},
     ControlChange::Disable, false, nullptr},
    {"OtherLetterCaseIsNotMissing", "Sample App Version 3.1 Build 5", "<h1>Resource Not Found</h1>",
     "<h1>Resource Not Found</h1>", {"Version 3.1", "Build 5", "", "<h1>Resource Not Found</h1>"},
     ControlChange::Disable, false, kLatest},
    {"ResourceNotFoundBeyondTheExaminedPart", "Sample App Version 3.1 Build 5",
     "Sample App Version 3.2 Build 7 Resource not found", "Sample App Version 3.2 Build 7",
     {"Version 3.1", "Build 5", "Version 3.2", "Build 7"}, ControlChange::Enable, true, kUpgrade},
    {"ShortDocument", "Sample App Version 3.2 Build 7", "Version 3.2 Build 7\r\n",
     "Version 3.2 Build 7", {"Version 3.2", "Build 7", "V", "Build 7"},
     ControlChange::Disable, false, kLatest},
    {"NulEndsTheExaminedText", "Sample App Version 3.1 Build 5", "Sample App Version 3.2\0Build 7"s,
     "Sample App Version 3.2", {"Version 3.1", "Build 5", "", "Sample App Version 3.2"},
     ControlChange::Disable, false, kLatest},
    {"HighBytesCompareUnsigned", "Sample App Version 3.1 Build 7", "Sample App Version 3.2 Build\xE9\xA0",
     "Sample App Version 3.2 Build\xE9\xA0", {"Version 3.1", "Build 7", "Version 3.2", "Build\xE9\xA0"},
     ControlChange::Enable, true, kUpgrade},
    {"EmptyDocument", "Sample App Version 3.1 Build 5", "",
     "", {"Version 3.1", "Build 5", "", ""}, ControlChange::Disable, false, kLatest},
};
// clang-format on

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DecisionCase& c, std::ostream* os)
{
    *os << c.name;
}

class VersionDecisionTest : public testing::TestWithParam<DecisionCase>
{};

TEST_P(VersionDecisionTest, CutsComparesAndDecides)
{
    const DecisionCase& c = GetParam();
    const VersionCheckResult r = Decide(c.installed, c.document);

    EXPECT_EQ(CString(c.examined), r.m_strExamined);
    EXPECT_EQ(CString(c.parts[0]), r.m_parts.m_strInstalledVersion);
    EXPECT_EQ(CString(c.parts[1]), r.m_parts.m_strInstalledBuild);
    EXPECT_EQ(CString(c.parts[2]), r.m_parts.m_strAvailableVersion);
    EXPECT_EQ(CString(c.parts[3]), r.m_parts.m_strAvailableBuild);
    EXPECT_EQ(c.download, r.m_download);
    EXPECT_EQ(c.showWhatsNew, r.m_bShowWhatsNew);
    EXPECT_EQ("See what's new in " + CString(c.parts[2]) + c.parts[3], r.m_strWhatsNewText);
    EXPECT_EQ(c.result != nullptr, r.m_bSetResultText);
    if (c.result) {
        EXPECT_EQ(CString(c.result), r.m_strResultText);
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, VersionDecisionTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<DecisionCase>& info) { return info.param.name; });

} // namespace

TEST(VersionCheckTest, VersionDisplayShowsTheExaminedTextOrTheMissingNotice)
{
    EXPECT_STREQ("Installed  Version:  Sample App Version 3.1 Build 5\n"
                 "Available Version:  Sample App Version 3.2 Build 7",
                 Decide("Sample App Version 3.1 Build 5", "Sample App Version 3.2 Build 7 and more")
                     .m_strVersionDisplay);

    const VersionCheckResult missing = Decide("Sample App Version 3.1 Build 5", "Resource not found");
    EXPECT_TRUE(missing.m_bMissing);
    EXPECT_STREQ("Installed  Version:  Sample App Version 3.1 Build 5\n"
                 "Available Version:\n Available Version information was not found!",
                 missing.m_strVersionDisplay);

    EXPECT_STREQ("Installed  Version:  \nAvailable Version:  ", Decide("", "").m_strVersionDisplay);
}

TEST(VersionCheckTest, ReadsNoByteAtOrBeyondTheCount)
{
    // Bytes after the count look like a complete document; none of them may be used.
    const char buffer[] = "Sample App Version 3.2 Build 7";
    EXPECT_STREQ("Sample App Version 3.2 Bu", CutExaminedText(buffer, 25));
    EXPECT_STREQ("", CutExaminedText(buffer, 0));
    EXPECT_STREQ("", CutExaminedText(buffer, -5));
    EXPECT_STREQ("", CutExaminedText(nullptr, 0));

    // A full read of 200 bytes: only the first 30 count, the rest is never examined.
    const std::string full = "Sample App Version 3.2 Build 7" + std::string(170, 'x');
    const VersionCheckResult r = Decide("Sample App Version 3.2 Build 7", full.substr(0, kVersionReadSize));
    EXPECT_STREQ("Sample App Version 3.2 Build 7", r.m_strExamined);
    EXPECT_EQ(0, r.m_nVersionOrder);
    EXPECT_EQ(0, r.m_nBuildOrder);
}

#ifdef _WIN32
// Under Windows the check's order must be the platform's own multibyte comparison.
TEST(VersionCheckTest, OrderAgreesWithThePlatformsMultibyteComparison)
{
    const char* const texts[] = {"",        "Build 7",   "Build 7  ", "Build 10",     "Build 9",    "BUILD 7",
                                 "build 7", "Build\xE9", "Build\x7F", "Version 3.10", "Version 3.9"};
    for (const char* a : texts) {
        for (const char* b : texts) {
            const int n =
                _mbscmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
            EXPECT_EQ((n > 0) - (n < 0), CompareVersionTexts(a, b)) << a << " / " << b;
        }
    }
}
#endif

TEST(VersionCheckTest, AnnouncementSaysWhatTheCheckAddedAndItsMessage)
{
    const CString strInstalled = "Sample App Version 3.1 Build 5";
    const CString strLine = "Installed  Version:  " + strInstalled;
    EXPECT_STREQ("Available Version:  Sample App Version 3.2 Build 7\n"
                 "This is an upgrade\nClick Download to get the Upgrade",
                 ComposeCheckAnnouncement(Decide(strInstalled, "Sample App Version 3.2 Build 7"), strLine));
    // The message control keeps its old text for a missing document: only the notice is told.
    EXPECT_STREQ("Available Version:\n Available Version information was not found!",
                 ComposeCheckAnnouncement(Decide(strInstalled, "Resource not found"), strLine));
    // A check that sets an empty message tells the available version alone.
    EXPECT_STREQ("Available Version:  Sample App Version 3.2 Build 4",
                 ComposeCheckAnnouncement(Decide(strInstalled, "Sample App Version 3.2 Build 4"), strLine));
}
