// Upvane under the ANSI code pages of Japanese, Chinese and Korean Windows: a set file whose
// scrambled values the system's profile functions damage there is shown, checked and
// downloaded exactly. Wine takes a process's ANSI code page from the locale of its Wine
// process, so ctest starts this program once per code page under that locale (see
// CMakeLists.txt); the programs it starts inherit it.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <windows.h>

#include "HttpServer.h"
#include "ScrambledSetFile.h"
#include "UpvaneHarness.h"
#include "UrlRecorder.h"
#include "Window.h"

namespace qs::e2e {
namespace {

// Each of these stored scrambled reads back damaged through the profile functions under each
// of the three code pages, measured under Wine: a byte pair of the scrambled form is no
// character there. The weblink's path is damaged whatever the port's digits before it.
const char kWebLinkPath[] = "/quillory/latest/updates";
const char kInstalled[] = "XPad Notes Version 3.1 Build 5";
const char kDocument[] = "XPad Notes Version 3.2 Build 7";

std::map<std::string, std::string> DamageProneValues(const std::string& webLink)
{
    return {
        {"title", "Quillory Notes: check for updates"},
        {"info", "Checks whether a newer Quillory is ready."},
        {"installed", kInstalled},
        {"site", "Open the Quillory site"},
        {"weblink", webLink},
        {"mailtext", "Write to Quillory support"},
        {"webmail", "help@quillory.example"},
        {"wizfile", "current/version.txt"},
        {"updatefilename", "QuilloryUpgrade.exe"},
    };
}

// The value as this process's system profile function gives it back from the file.
std::string ReadThroughTheSystem(const std::string& file, const std::string& key)
{
    char buffer[1024] = {};
    const DWORD n =
        GetPrivateProfileStringA("information", key.c_str(), "", buffer, sizeof buffer, file.c_str());
    return std::string(buffer, n);
}

class UpvaneUnderCodePage : public ::testing::TestWithParam<UINT>
{};

TEST_P(UpvaneUnderCodePage, ShowsChecksAndDownloadsTheSetFilesExactValues)
{
    ASSERT_EQ(GetParam(), GetACP()) << "run this case under its locale, as ctest does (LC_ALL)";
    HttpServer server;
    ASSERT_TRUE(server.Listening());
    UrlRecorder recorder;
    QS_ASSERT_RECORDING(recorder);
    UpvaneRun run;
    const std::string webLink = server.Url(kWebLinkPath);
    const auto values = DamageProneValues(webLink);
    run.WriteSetFile(values);

    // First: here the system's profile functions give every one of them back damaged.
    for (const auto& [key, plain] : values)
        EXPECT_NE(ScrambleValue(plain), ReadThroughTheSystem(run.Folder().File("product.set"), key)) << key;
    ASSERT_FALSE(HasFailure()) << "the values no longer show what this case is about";

    ASSERT_TRUE(run.Start());
    EXPECT_EQ(values.at("title"), Title(run.Dialog()));
    EXPECT_EQ(values.at("info"), Text(run.InformationLine()));
    EXPECT_EQ(std::string("Installed  Version:  ") + kInstalled, run.ItemText(kVersionText));
    EXPECT_EQ(values.at("site"), run.ItemText(kSiteLink));
    EXPECT_EQ(values.at("mailtext"), run.ItemText(kMailLink));

    server.Serve(std::string(kWebLinkPath) + "/current/version.txt", HttpReply::Ok(kDocument));
    ASSERT_EQ(nullptr, run.CheckAndWait());
    const auto requests = server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(std::string(kWebLinkPath) + "/current/version.txt", requests[0].path);
    EXPECT_EQ(kUpgradeMessage, run.ItemText(kMessageText));
    EXPECT_EQ(std::string("Installed  Version:  ") + kInstalled + "\nAvailable Version:  " + kDocument,
              run.ItemText(kVersionText));

    ASSERT_TRUE(IsEnabled(run.Item(kDownload)));
    Click(run.Item(kDownload));
    ASSERT_TRUE(recorder.WaitForAddresses(1, 15000));
    EXPECT_EQ(webLink + "/QuilloryUpgrade.exe", recorder.Addresses()[0]);
}

INSTANTIATE_TEST_SUITE_P(AnsiCodePage, UpvaneUnderCodePage, ::testing::Values(932u, 936u, 949u),
                         [](const ::testing::TestParamInfo<UINT>& info) {
                             return "CodePage" + std::to_string(info.param);
                         });

} // namespace
} // namespace qs::e2e
