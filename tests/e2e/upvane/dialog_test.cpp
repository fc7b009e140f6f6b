// Upvane's dialog after start-up: what the set file says, where the program looks for it,
// and what it does with set files that are damaged or missing.
#include <gtest/gtest.h>

#include <ostream>

#include "Capabilities.h"
#include "UpvaneHarness.h"
#include "Window.h"

namespace qs::e2e {
namespace {

TEST(UpvaneDialog, ShowsTheSetFileValuesDescrambled)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    ASSERT_TRUE(run.Start());

    EXPECT_EQ("Quillory Upgrade", Title(run.Dialog()));
    EXPECT_EQ("Quillory keeps your notes in order.", Text(run.InformationLine()));
    EXPECT_EQ("Installed  Version:  Sample App Version 3.1 Build 5", run.ItemText(kVersionText));
    EXPECT_EQ("Quillory on the web", run.ItemText(kSiteLink));
    EXPECT_EQ("Write to us", run.ItemText(kMailLink));
    EXPECT_EQ("", run.ItemText(kMessageText));
    EXPECT_FALSE(IsEnabled(run.Item(kDownload)));
    EXPECT_TRUE(IsEnabled(run.Item(kCheck)));
    EXPECT_FALSE(IsVisible(run.Item(kWhatsNewLink)));
    EXPECT_TRUE(IsVisible(run.Item(kSiteLink)));
    EXPECT_EQ(0, ProgressPos(run.Item(kProgress)).value_or(-1));
    // The buttons' captions with their access keys.
    EXPECT_EQ("C&heck", run.ItemText(kCheck));
    EXPECT_EQ("&Download", run.ItemText(kDownload));
    EXPECT_EQ("Cancel", run.ItemText(IDCANCEL));
    // A tool window that keeps its taskbar button.
    EXPECT_TRUE(ExStyle(run.Dialog()) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ExStyle(run.Dialog()) & WS_EX_APPWINDOW);
}

TEST(UpvaneDialog, AFolderWithBlanksAndAnApostropheIsSearchedLikeAnyOther)
{
    UpvaneRun run("Quillory's Program Files ");
    ASSERT_NE(std::string::npos, run.Folder().Path().find(' '));
    run.WriteSetFile(ExampleValues("www.quillory.example"), "Quillory Product.set");
    ASSERT_TRUE(run.Start());
    EXPECT_EQ("Quillory Upgrade", Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  Sample App Version 3.1 Build 5", run.ItemText(kVersionText));
}

TEST(UpvaneDialog, SetFileIsReadOnlyFromTheProgramsOwnFolderAsCurrentDirectory)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    TempDir elsewhere("elsewhere-");
    ASSERT_TRUE(run.Start(elsewhere.Path()));

    EXPECT_EQ("", Title(run.Dialog()));
    EXPECT_EQ("", Text(run.InformationLine()));
    EXPECT_EQ("Installed  Version:  ", run.ItemText(kVersionText));
    EXPECT_EQ("", run.ItemText(kSiteLink));
    EXPECT_EQ("", run.ItemText(kMailLink));
}

TEST(UpvaneDialog, ASetFileOfTheSameNameInTheCurrentDirectoryIsTheOneRead)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"), "product.set");
    TempDir elsewhere("elsewhere-");
    auto other = ExampleValues("www.quillory.example");
    other["title"] = "Read from the current directory";
    ASSERT_TRUE(elsewhere.Write("product.set", MakeSetFileText(other)));
    ASSERT_TRUE(run.Start(elsewhere.Path()));

    EXPECT_EQ("Read from the current directory", Title(run.Dialog()));
}

TEST(UpvaneDialog, OfTwoSetFilesTheFirstTheSearchReturnsIsUsed)
{
    UpvaneRun run;
    auto a = ExampleValues("a.example");
    a["title"] = "From alpha.set";
    auto b = ExampleValues("b.example");
    b["title"] = "From beta.set";
    run.WriteSetFile(a, "alpha.set");
    run.WriteSetFile(b, "beta.set");

    // Ask the same search which file comes first here.
    WIN32_FIND_DATAA fd = {};
    HANDLE h = FindFirstFileA(run.Folder().File("*.set").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    const std::string first = fd.cFileName;
    FindClose(h);

    ASSERT_TRUE(run.Start());
    EXPECT_EQ(first == "alpha.set" ? "From alpha.set" : "From beta.set", Title(run.Dialog()));
}

TEST(UpvaneDialog, KeysAndSectionInOtherLetterCaseAreFound)
{
    UpvaneRun run;
    run.WriteFile("product.set", "[INFORMATION]\r\nTITLE=" + ScrambleValue("Upper Case Title")
                                     + "\r\nInstalled=" + ScrambleValue("Version 1 Build 2") + "\r\n");
    ASSERT_TRUE(run.Start());
    EXPECT_EQ("Upper Case Title", Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  Version 1 Build 2", run.ItemText(kVersionText));
}

TEST(UpvaneDialog, LongValuesAreDescrambledOverEveryPosition)
{
    // Index 256 wraps to 0 in the scrambling; the value must come back whole.
    std::string info;
    for (int i = 0; i < 300; ++i)
        info += static_cast<char>('A' + i % 26);
    // A scrambled byte may be a line break or blank only from index 128 on; this text
    // avoids those there.
    std::string stored = ScrambleValue(info);
    bool storable = true;
    for (char c : stored)
        storable = storable && c != '\r' && c != '\n' && c != '\0';
    ASSERT_TRUE(storable) << "choose another test text";

    UpvaneRun run;
    auto values = ExampleValues("www.quillory.example");
    values["info"] = info;
    run.WriteSetFile(values);
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(info, Text(run.InformationLine()));
}

// A damaged set file and what the dialog still shows from it.
struct DamagedSetFile
{
    const char* name;
    std::string content;
    std::string title;     // the dialog's caption
    std::string installed; // the installed text after "Installed  Version:  "
    std::string info;      // the information line
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DamagedSetFile& file, std::ostream* os)
{
    *os << file.name;
}

class UpvaneDamagedSetFile : public ::testing::TestWithParam<DamagedSetFile>
{};

TEST_P(UpvaneDamagedSetFile, DialogStillComesUpWithWhatItCanShow)
{
    if (BeyondAscii(GetParam().title + GetParam().installed + GetParam().info))
        QS_SKIP_WITHOUT(AnsiTextDamaged);
    UpvaneRun run;
    run.WriteFile("product.set", GetParam().content);
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(IsVisible(run.Dialog()));
    EXPECT_EQ(GetParam().title, Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  " + GetParam().installed, run.ItemText(kVersionText));
    EXPECT_EQ(GetParam().info, Text(run.InformationLine()));
    EXPECT_EQ("", run.ItemText(kMessageText));
    EXPECT_FALSE(IsEnabled(run.Item(kDownload)));
    EXPECT_TRUE(IsEnabled(run.Item(kCheck)));
    EXPECT_FALSE(IsVisible(run.Item(kWhatsNewLink)));
    PostClose(run.Dialog());
    EXPECT_TRUE(run.Program().WaitForExit(10000));
    EXPECT_EQ(0u, run.Program().ExitCode().value_or(1));
}

std::string BinaryGarbage()
{
    std::string bytes;
    unsigned x = 12345;
    for (int i = 0; i < 5000; ++i) {
        x = x * 1103515245u + 12345u;
        bytes += static_cast<char>(x >> 16);
    }
    return bytes;
}

// What the dialog shows of a stored value: its descrambled text up to the first NUL byte.
std::string ShownOf(const std::string& stored)
{
    const std::string plain = ScrambleValue(stored); // scrambling is its own inverse
    return plain.substr(0, plain.find('\0'));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, UpvaneDamagedSetFile,
    ::testing::Values(
        DamagedSetFile{"Empty", "", "", "", ""},
        DamagedSetFile{"NoInformationSection", "[other]\r\ntitle=" + ScrambleValue("Not this") + "\r\n", "",
                       "", ""},
        DamagedSetFile{"OnlySomeKeys", "[information]\r\ntitle=" + ScrambleValue("Only a title") + "\r\n",
                       "Only a title", "", ""},
        DamagedSetFile{"BinaryGarbage", BinaryGarbage(), "", "", ""},
        DamagedSetFile{"SeveralKilobyteValues",
                       "[information]\r\ninfo=" + std::string(8000, 'x') + "\r\ninstalled="
                           + std::string(6000, '\xC3') + "\r\ntitle=" + ScrambleValue("Long values") + "\r\n",
                       "Long values", ShownOf(std::string(6000, '\xC3')), ShownOf(std::string(8000, 'x'))},
        DamagedSetFile{"LinesWithoutEquals",
                       "[information]\r\ntitle\r\n=\r\n==\r\ninfo=" + ScrambleValue("After the damage")
                           + "\r\n",
                       "", "", "After the damage"}),
    [](const ::testing::TestParamInfo<DamagedSetFile>& info) { return info.param.name; });

TEST(UpvaneDialog, WithoutASetFileEverythingIsEmptyButTheInstalledLine)
{
    UpvaneRun run;
    ASSERT_TRUE(run.Start());
    EXPECT_EQ("", Title(run.Dialog()));
    EXPECT_EQ("Installed  Version:  ", run.ItemText(kVersionText));
    EXPECT_EQ("", run.ItemText(kSiteLink));
    EXPECT_FALSE(IsVisible(run.Item(kWhatsNewLink)));
}

TEST(UpvaneDialog, ASetFileThatIsAFolderOrHeldOpenGivesAnEmptyDialog)
{
    // The search for "*.set" finds a folder as well; nothing can be read from it.
    UpvaneRun folder;
    folder.Folder().MakeDir("product.set");
    ASSERT_TRUE(folder.Start());
    EXPECT_EQ("", Title(folder.Dialog()));
    EXPECT_EQ("Installed  Version:  ", folder.ItemText(kVersionText));
    EXPECT_TRUE(IsEnabled(folder.Item(kCheck)));

    // Held open by another program that shares nothing, a complete set file cannot be read.
    UpvaneRun held;
    held.WriteSetFile(ExampleValues("www.quillory.example"));
    const HANDLE hold = CreateFileA(held.Folder().File("product.set").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    const bool started = held.Start();
    CloseHandle(hold);
    ASSERT_TRUE(started);
    EXPECT_EQ("", Title(held.Dialog()));
    EXPECT_EQ("", held.ItemText(kSiteLink));
    PostClose(held.Dialog());
    EXPECT_TRUE(held.Program().WaitForExit(10000));
    EXPECT_EQ(0u, held.Program().ExitCode().value_or(1));
}

TEST(UpvaneDialog, EscapeAndTheCloseBoxEndTheProgram)
{
    UpvaneRun run;
    run.WriteSetFile(ExampleValues("www.quillory.example"));
    ASSERT_TRUE(run.Start());
    PostClose(run.Dialog());
    EXPECT_TRUE(run.Program().WaitForExit(10000));

    UpvaneRun second;
    ASSERT_TRUE(second.Start());
    Click(second.Item(IDCANCEL));
    EXPECT_TRUE(second.Program().WaitForExit(10000));
}

} // namespace
} // namespace qs::e2e
