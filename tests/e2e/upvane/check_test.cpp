// Check and Download against a loopback version server: what the dialog reports for each
// kind of version document, for failing and hostile servers, and the address Download opens.
#include <algorithm>

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <thread>
#include <vector>

#include <windows.h>
#include <oleacc.h>
#include <wininet.h>

#include "Capabilities.h"
#include "HttpServer.h"
#include "Registry.h"
#include "UpvaneHarness.h"
#include "UrlRecorder.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {
namespace {

const char kInstalled[] = "Sample App Version 3.1 Build 5";
const char kUpgradeDocument[] = "Sample App Version 3.2 Build 7";

class UpvaneCheck : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.Listening()); }

    // Starts Upvane with a set file pointing at the server, installed text `installed`.
    void StartWith(const std::string& installed = kInstalled, const std::string& webLinkPath = "")
    {
        auto values = ExampleValues(m_server.Address() + webLinkPath);
        values["installed"] = installed;
        m_run.WriteSetFile(values);
        ASSERT_TRUE(m_run.Start());
    }

    void ServeDocument(const std::string& body, const std::string& path = "/version.txt")
    {
        m_server.Serve(path, HttpReply::Ok(body));
    }

    std::string Version() const { return m_run.ItemText(kVersionText); }
    std::string Message() const { return m_run.ItemText(kMessageText); }
    bool DownloadEnabled() const { return IsEnabled(m_run.Item(kDownload)); }
    bool WhatsNewVisible() const { return IsVisible(m_run.Item(kWhatsNewLink)); }
    std::string WhatsNewText() const { return m_run.ItemText(kWhatsNewLink); }
    int Progress() const { return ProgressPos(m_run.Item(kProgress)).value_or(-1); }

    // A first check that finds an upgrade, so that what a later check keeps or changes shows.
    void StartAfterAnUpgradeCheck()
    {
        ServeDocument(kUpgradeDocument);
        StartWith();
        ASSERT_EQ(nullptr, m_run.CheckAndWait());
        ASSERT_EQ(kUpgradeMessage, Message());
        ASSERT_TRUE(DownloadEnabled());
        ASSERT_TRUE(WhatsNewVisible());
    }

    // What the upgrade check left, unchanged by the check after it.
    void ExpectTheUpgradeStateKept()
    {
        EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  " + kUpgradeDocument, Version());
        EXPECT_EQ(kUpgradeMessage, Message());
        EXPECT_TRUE(DownloadEnabled());
        EXPECT_TRUE(WhatsNewVisible());
        EXPECT_EQ("See what's new in Version 3.2Build 7", WhatsNewText());
    }

    // The error box: the program's name as caption, the dialog as owner, and closed with OK.
    void ExpectErrorBoxAndClose(HWND box)
    {
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("Upvane", Title(box));
        EXPECT_EQ(m_run.Dialog(), GetWindow(box, GW_OWNER));
        EXPECT_FALSE(UpvaneRun::MessageBoxText(box).empty());
        Click(Child(box, IDOK));
        EXPECT_TRUE(WaitForWindowGone(box, 5000));
    }

    HttpServer m_server;
    UpvaneRun m_run;
};

TEST_F(UpvaneCheck, NewerVersionAndBuildOfferTheUpgrade)
{
    ServeDocument("Sample App Version 3.2 Build 7\r\nrelease notes follow\r\n");
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());

    EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  Sample App Version 3.2 Build 7",
              Version());
    EXPECT_EQ("This is an upgrade\nClick Download to get the Upgrade", Message());
    EXPECT_TRUE(DownloadEnabled());
    EXPECT_TRUE(WhatsNewVisible());
    EXPECT_EQ("See what's new in Version 3.2Build 7", WhatsNewText());
    EXPECT_EQ(50, Progress());
    auto range = ProgressRange(m_run.Item(kProgress));
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(0, range->first);
    EXPECT_EQ(50, range->second);
}

// Windows whose client area raised an alert, as a screen reader hears of them.
std::vector<HWND> g_alertWindows;

void CALLBACK RecordAlert(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG, DWORD, DWORD)
{
    if (idObject == OBJID_CLIENT)
        g_alertWindows.push_back(hwnd);
}

TEST_F(UpvaneCheck, TheResultIsAnnouncedAsAnAlert)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    g_alertWindows.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, RecordAlert, 0, 0,
                                         WINEVENT_OUTOFCONTEXT);
    ServeDocument(kUpgradeDocument);
    StartWith();
    HWND message = m_run.Item(kMessageText);
    IAccessible* acc = nullptr;
    ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(message, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&acc))));
    VARIANT self = {};
    self.vt = VT_I4;
    // The alert level is told while a result is shown, and only then.
    const LONG kAlertLevels = STATE_SYSTEM_ALERT_LOW | STATE_SYSTEM_ALERT_MEDIUM | STATE_SYSTEM_ALERT_HIGH;
    VARIANT state = {};
    EXPECT_TRUE(SUCCEEDED(acc->get_accState(self, &state)));
    EXPECT_EQ(0, state.lVal & kAlertLevels);
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_TRUE(WaitUntil(
        [&] { return std::count(g_alertWindows.begin(), g_alertWindows.end(), message) == 1; }, 5000));

    VARIANT role = {};
    EXPECT_TRUE(SUCCEEDED(acc->get_accRole(self, &role)));
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_ALERT);
    EXPECT_TRUE(SUCCEEDED(acc->get_accState(self, &state)));
    EXPECT_EQ(VT_I4, state.vt);
    EXPECT_EQ(STATE_SYSTEM_ALERT_MEDIUM, state.lVal & kAlertLevels);
    BSTR name = nullptr;
    EXPECT_TRUE(SUCCEEDED(acc->get_accName(self, &name)));
    const std::wstring expected = L"Available Version:  Sample App Version 3.2 Build 7\n"
                                  L"This is an upgrade\nClick Download to get the Upgrade";
    EXPECT_TRUE(name && expected == name);
    SysFreeString(name);
    acc->Release();
    if (hook)
        UnhookWinEvent(hook);
    CoUninitialize();
}

TEST_F(UpvaneCheck, RequestsTheVersionDocumentWithTheProgramsNameAsAgent)
{
    ServeDocument("Sample App Version 3.1 Build 5");
    StartWith(kInstalled, "/quillory/updates");
    m_server.Serve("/quillory/updates/version.txt", HttpReply::Ok("Sample App Version 3.1 Build 5"));
    ASSERT_EQ(nullptr, m_run.CheckAndWait());

    const auto requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("GET", requests[0].method);
    EXPECT_EQ("/quillory/updates/version.txt", requests[0].path);
    EXPECT_EQ("Upvane", requests[0].UserAgent());
    EXPECT_EQ("*/*", requests[0].Header("Accept").value_or("(none)"));
}

TEST_F(UpvaneCheck, AQueryInTheDocumentsNameIsSentWithIt)
{
    m_server.Serve("/version.txt?channel=beta&os=win", HttpReply::Ok(kUpgradeDocument));
    auto values = ExampleValues(m_server.Address());
    values["wizfile"] = "version.txt?channel=beta&os=win";
    m_run.WriteSetFile(values);
    ASSERT_TRUE(m_run.Start());
    ASSERT_EQ(nullptr, m_run.CheckAndWait());

    const auto requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("/version.txt?channel=beta&os=win", requests[0].path);
    EXPECT_EQ(kUpgradeMessage, Message());
}

TEST_F(UpvaneCheck, EqualVersionAndBuildIsTheLatestAndLeavesTheLinkHidden)
{
    ServeDocument("Sample App Version 3.1 Build 5");
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ("You have the latest version.", Message());
    EXPECT_FALSE(DownloadEnabled());
    EXPECT_FALSE(WhatsNewVisible());
    EXPECT_EQ("See what's new in Version 3.1Build 5", WhatsNewText());
}

TEST_F(UpvaneCheck, SameVersionWithALowerBuildStillOffersTheUpgrade)
{
    ServeDocument("Sample App Version 3.1 Build 4");
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ("This is an upgrade\nClick Download to get the Upgrade", Message());
    EXPECT_TRUE(DownloadEnabled());
    EXPECT_TRUE(WhatsNewVisible());
}

TEST_F(UpvaneCheck, HigherInstalledVersionIsTheLatestWhateverTheBuilds)
{
    ServeDocument("Sample App Version 3.0 Build 9");
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ("You have the latest version.", Message());
    EXPECT_FALSE(DownloadEnabled());
}

TEST_F(UpvaneCheck, NewerVersionWithoutANewerBuildEmptiesTheMessageAndChangesNoState)
{
    // After an upgrade check, so that a Download or link change would show.
    StartAfterAnUpgradeCheck();
    ServeDocument("Sample App Version 3.3 Build 5");
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ("", Message());
    EXPECT_TRUE(DownloadEnabled());
    EXPECT_TRUE(WhatsNewVisible());
    EXPECT_EQ("See what's new in Version 3.3Build 5", WhatsNewText());
    EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  Sample App Version 3.3 Build 5",
              Version());
}

TEST_F(UpvaneCheck, DocumentsBeginningWithQ7AreExaminedOver32Characters)
{
    // 32 characters; without "Q7" at the start only the first 30 are examined.
    ServeDocument("Q7 Sample Version 3.2 Build 7 AB", "/q7.txt");
    ServeDocument("Z7 Sample Version 3.2 Build 7 AB", "/z7.txt");
    auto values = ExampleValues(m_server.Address());
    values["installed"] = kInstalled;
    values["wizfile"] = "q7.txt";
    m_run.WriteSetFile(values);
    ASSERT_TRUE(m_run.Start());
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  Q7 Sample Version 3.2 Build 7 AB",
              Version());

    UpvaneRun other;
    values["wizfile"] = "z7.txt";
    other.WriteSetFile(values);
    ASSERT_TRUE(other.Start());
    ASSERT_EQ(nullptr, other.CheckAndWait());
    EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  Z7 Sample Version 3.2 Build 7",
              other.ItemText(kVersionText));
}

TEST_F(UpvaneCheck, AnErrorPageSayingResourceNotFoundIsAMissingDocument)
{
    // After an upgrade check: the message the page's own text would give ("You have the
    // latest version.") differs from the one already shown.
    StartAfterAnUpgradeCheck();
    m_server.Serve("/version.txt",
                   HttpReply::Status("HTTP/1.0 404 Not Found", "Resource not found on server"));
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ(std::string(kInstalledLine)
                  + "\nAvailable Version:\n Available Version information was not found!",
              Version());
    EXPECT_EQ(kUpgradeMessage, Message()); // left as it was
    EXPECT_EQ(50, Progress());
}

TEST_F(UpvaneCheck, TheMissingDocumentNoticeFitsWholeInTheVersionText)
{
    QS_SKIP_WITHOUT(TextMeasuredWrongly);
    // Three lines, the last being the notice; each must show in full.
    m_server.Serve("/version.txt",
                   HttpReply::Status("HTTP/1.0 404 Not Found", "Resource not found on server"));
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    const std::string text = Version();
    ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;

    // This font is the dialog's own: its base units make the dialog's size.
    const DialogFont font;
    const SIZE units = font.BaseUnits();
    RECT dialog = {};
    ASSERT_TRUE(GetClientRect(m_run.Dialog(), &dialog));
    EXPECT_EQ(dialog.right, MulDiv(kDialogWidthDlu, units.cx, 4));
    EXPECT_EQ(dialog.bottom, MulDiv(kDialogHeightDlu, units.cy, 8));

    RECT control = {};
    ASSERT_TRUE(GetClientRect(m_run.Item(kVersionText), &control));
    const int height = font.TextHeight(text, control.right);
    EXPECT_EQ(height, 3 * units.cy) << "a line of the text wraps";
    EXPECT_LE(height, control.bottom) << "the notice's line is cut off";
}

TEST_F(UpvaneCheck, ResourceNotFoundInOtherLetterCaseIsTreatedAsADocument)
{
    m_server.Serve("/version.txt", HttpReply::Status("HTTP/1.0 404 Not Found", "resource NOT found"));
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  resource NOT found", Version());
}

TEST_F(UpvaneCheck, AShortDocumentIsExaminedAsFarAsItGoes)
{
    ServeDocument("Version 9 Build 1");
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  Version 9 Build 1", Version());
}

TEST_F(UpvaneCheck, ADocumentWithoutBuildComparesItsWholeTextAsTheBuild)
{
    // Its version part is empty, so the installed version sorts after it: the latest.
    ServeDocument("Sample App Version 3.2");
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ("You have the latest version.", Message());
    EXPECT_EQ("See what's new in Sample App Version 3.2", WhatsNewText());
}

TEST_F(UpvaneCheck, ASecondCheckWithTheLatestDisablesDownloadButKeepsTheLink)
{
    ServeDocument("Sample App Version 3.2 Build 7");
    StartWith();
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    ASSERT_TRUE(DownloadEnabled());

    ServeDocument("Sample App Version 3.1 Build 5");
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_TRUE(WaitForText(m_run.Item(kMessageText), "You have the latest version.", 5000));
    EXPECT_FALSE(DownloadEnabled());
    EXPECT_TRUE(WhatsNewVisible());
    EXPECT_EQ("See what's new in Version 3.1Build 5", WhatsNewText());
    EXPECT_EQ(2u, m_server.RequestCount());
}

TEST_F(UpvaneCheck, ARefusedConnectionShowsTheSystemsErrorAndStopsAtTen)
{
    auto values = ExampleValues("127.0.0.1:" + std::to_string(UnusedLoopbackPort()));
    values["installed"] = kInstalled;
    m_run.WriteSetFile(values);
    ASSERT_TRUE(m_run.Start());

    HWND box = m_run.CheckAndWait();
    ASSERT_NE(nullptr, box);
    const std::string expected = WinInetErrorText(ERROR_INTERNET_CANNOT_CONNECT);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, UpvaneRun::MessageBoxText(box));
    EXPECT_EQ(10, Progress());
    EXPECT_EQ(kInstalledLine, Version());
    EXPECT_EQ("", Message());
    EXPECT_FALSE(DownloadEnabled());
    ExpectErrorBoxAndClose(box);
}

TEST_F(UpvaneCheck, AFailureAfterASuccessfulCheckKeepsWhatThatCheckShowed)
{
    StartAfterAnUpgradeCheck();
    m_server.Stop(); // the next connection is refused
    HWND box = m_run.CheckAndWait();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(WinInetErrorText(ERROR_INTERNET_CANNOT_CONNECT), UpvaneRun::MessageBoxText(box));
    EXPECT_EQ(10, Progress());
    ExpectTheUpgradeStateKept();
    ExpectErrorBoxAndClose(box);
    // Still working: the next check runs as the first did.
    EXPECT_TRUE(m_run.Program().Running());
}

TEST_F(UpvaneCheck, AHostThatCannotBeResolvedShowsTheSystemsError)
{
    auto values = ExampleValues("no-such-host.invalid");
    m_run.WriteSetFile(values);
    ASSERT_TRUE(m_run.Start());
    HWND box = m_run.CheckAndWait(60000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Upvane", Title(box));
    EXPECT_EQ(10, Progress());
}

TEST_F(UpvaneCheck, DownloadAndTheWhatsNewLinkOpenExactlyTheirAddresses)
{
    UrlRecorder recorder;
    QS_ASSERT_RECORDING(recorder);
    // A weblink ending in a slash gives doubled slashes in both addresses.
    ServeDocument("Sample App Version 3.2 Build 7", "//version.txt");
    StartWith(kInstalled, "/");
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    ASSERT_TRUE(DownloadEnabled());

    Click(m_run.Item(kDownload));
    ASSERT_TRUE(recorder.WaitForAddresses(1, 15000));
    EXPECT_EQ("http://" + m_server.Address() + "//QuilloryUpgrade.exe", recorder.Addresses()[0]);

    // The what's-new link, shown by the upgrade, opens the vendor's notes, as its menu's
    // Open would.
    ASSERT_TRUE(WhatsNewVisible());
    const WPARAM openCommand = 32776;
    PostMessageA(m_run.Item(kWhatsNewLink), WM_COMMAND, openCommand, 0);
    ASSERT_TRUE(recorder.WaitForAddresses(2, 15000));
    EXPECT_EQ("http://www.quillory.com/What's New.pdf", recorder.Addresses()[1]);
}

TEST_F(UpvaneCheck, DownloadWithAnEmptyFileNameEndsInTheSlash)
{
    UrlRecorder recorder;
    QS_ASSERT_RECORDING(recorder);
    ServeDocument("Sample App Version 3.2 Build 7");
    auto values = ExampleValues(m_server.Address());
    values["updatefilename"] = "";
    m_run.WriteSetFile(values);
    ASSERT_TRUE(m_run.Start());
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    Click(m_run.Item(kDownload));
    ASSERT_TRUE(recorder.WaitForAddresses(1, 15000));
    EXPECT_EQ("http://" + m_server.Address() + "/", recorder.Addresses()[0]);
}

TEST_F(UpvaneCheck, AWebLinkWithABlankIsFetchedAndDownloadedWithTheBlankInPlace)
{
    // The client may send the blank as it stands or escaped; either way this document is read.
    UrlRecorder recorder;
    QS_ASSERT_RECORDING(recorder);
    ServeDocument("Sample App Version 3.2 Build 7", "/quill ory/version.txt");
    ServeDocument("Sample App Version 3.2 Build 7", "/quill%20ory/version.txt");
    StartWith(kInstalled, "/quill ory");
    ASSERT_EQ(nullptr, m_run.CheckAndWait());

    const auto requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_TRUE(requests[0].path == "/quill ory/version.txt"
                || requests[0].path == "/quill%20ory/version.txt")
        << requests[0].path;
    EXPECT_EQ("This is an upgrade\nClick Download to get the Upgrade", Message());
    ASSERT_TRUE(DownloadEnabled());

    // The shell gets the composed address unchanged, as one argument.
    Click(m_run.Item(kDownload));
    ASSERT_TRUE(recorder.WaitForAddresses(1, 15000));
    EXPECT_EQ("http://" + m_server.Address() + "/quill ory/QuilloryUpgrade.exe", recorder.Addresses()[0]);
}

// The user's Internet settings point at a proxy (this server): the check goes through it,
// also to a weblink whose name resolves nowhere.
class UpvaneBehindProxy : public UpvaneCheck
{
protected:
    static constexpr char kSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    // WinINet names the port in the request to the proxy.
    static constexpr char kDocumentUrl[] = "http://quillory.invalid:80/version.txt";

    void SetUp() override
    {
        UpvaneCheck::SetUp();
        ASSERT_TRUE(RegistryWriteDword(kSettings, "ProxyEnable", 1));
        ASSERT_TRUE(RegistryWriteString(kSettings, "ProxyServer", m_server.Address()));
        // The origin below is reached directly, as the user's settings may say for some hosts.
        ASSERT_TRUE(RegistryWriteString(kSettings, "ProxyOverride", "127.0.0.1"));
        auto values = ExampleValues("quillory.invalid");
        values["installed"] = kInstalled;
        m_run.WriteSetFile(values);
        ASSERT_TRUE(m_run.Start());
    }
    void TearDown() override
    {
        RegistryWriteDword(kSettings, "ProxyEnable", 0);
        RegistryDeleteValue(kSettings, "ProxyServer");
        RegistryDeleteValue(kSettings, "ProxyOverride");
    }

    // The system's prompt for the proxy's credentials, owned by the dialog; nullptr if none.
    HWND WaitForPrompt() const
    {
        HWND prompt = nullptr;
        WaitUntil(
            [&] {
                prompt = m_run.FindMessageBox();
                return prompt && FindDescendant(prompt, "Edit", nullptr);
            },
            10000);
        return prompt;
    }

    // Basic credentials of "clerk" with password "s3cret".
    static constexpr char kBasicClerk[] = "Basic Y2xlcms6czNjcmV0";

    HttpServer m_origin; // reached without the proxy
};

TEST_F(UpvaneBehindProxy, TheCheckGoesThroughTheProxy)
{
    m_server.Serve(kDocumentUrl, HttpReply::Ok(kUpgradeDocument));
    ASSERT_EQ(nullptr, m_run.CheckAndWait());
    EXPECT_EQ(kUpgradeMessage, Message());
    const auto requests = m_server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(kDocumentUrl, requests[0].path);
    EXPECT_FALSE(requests[0].Header("Proxy-Authorization").has_value());
}

// The typed credentials go to the proxy only: its answer redirects to an origin reached
// directly, which never sees them.
TEST_F(UpvaneBehindProxy, AProxyThatAsksForCredentialsGetsThemFromTheUser)
{
    HttpReply reply = HttpReply::Status("HTTP/1.0 302 Found", "");
    reply.headers.push_back("Location: " + m_origin.Url("/version.txt"));
    reply.proxyAuthorization = kBasicClerk;
    m_server.Serve(kDocumentUrl, reply);
    m_origin.Serve("/version.txt", HttpReply::Ok(kUpgradeDocument));
    HWND box = m_run.CheckAndWait(60000, [&] {
        HWND prompt = WaitForPrompt();
        ASSERT_NE(nullptr, prompt);
        EXPECT_EQ(m_run.Dialog(), GetWindow(prompt, GW_OWNER));
        const auto edits = Descendants(prompt);
        std::vector<HWND> fields;
        for (HWND h : edits)
            if (ClassName(h) == "Edit" && IsWindowVisible(h))
                fields.push_back(h);
        ASSERT_GE(fields.size(), 2u);
        SendWithTimeout(fields[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>("clerk"));
        SendWithTimeout(fields[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>("s3cret"));
        Click(Child(prompt, IDOK));
        EXPECT_TRUE(WaitForWindowGone(prompt, 5000));
    });
    ASSERT_EQ(nullptr, box) << UpvaneRun::MessageBoxText(box);
    EXPECT_EQ(kUpgradeMessage, Message());
    const auto requests = m_server.Requests();
    // WinINet may ask once more without them before it answers the challenge.
    ASSERT_GE(requests.size(), 2u);
    EXPECT_FALSE(requests.front().Header("Proxy-Authorization").has_value());
    EXPECT_EQ(kBasicClerk, requests.back().Header("Proxy-Authorization").value_or(""));
    const auto atOrigin = m_origin.Requests();
    ASSERT_EQ(1u, atOrigin.size());
    EXPECT_FALSE(atOrigin[0].Header("Proxy-Authorization").has_value());
}

TEST_F(UpvaneBehindProxy, ACancelledPromptEndsInTheErrorBox)
{
    HttpReply reply = HttpReply::Ok(kUpgradeDocument);
    reply.proxyAuthorization = kBasicClerk;
    m_server.Serve(kDocumentUrl, reply);
    HWND box = m_run.CheckAndWait(60000, [&] {
        HWND prompt = WaitForPrompt();
        ASSERT_NE(nullptr, prompt);
        Click(Child(prompt, IDCANCEL));
        EXPECT_TRUE(WaitForWindowGone(prompt, 5000));
    });
    ASSERT_NE(nullptr, box) << Version();
    EXPECT_EQ("The proxy server requires a user name and password, and none that it accepts were given.",
              UpvaneRun::MessageBoxText(box));
    EXPECT_EQ(10, Progress());
    EXPECT_EQ(kInstalledLine, Version());
    ExpectErrorBoxAndClose(box);
}

// Servers that misbehave, asked after a check that found an upgrade: the dialog reports a
// document or the error box, and survives. A failure stops the check where it happened and
// leaves every text and state as the upgrade check left them.
enum class Outcome { Document, ErrorBox, Either };

struct HostileServer
{
    const char* name;
    HttpReply reply;
    Outcome outcome;
    const char* expectedAvailable;   // the available line when a document is reported
    int errorProgress;               // where the progress bar stops when the error box comes
    unsigned long error = 0;         // when set: the system error whose text the box shows
    unsigned withinMs = 0;           // when set: the check ends within this time of the click
    bool probedWhileWaiting = false; // when set: ExpectAnswersWhileTheCheckWaits, 8 s in
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const HostileServer& server, std::ostream* os)
{
    *os << server.name;
}

class UpvaneHostileServer : public UpvaneCheck, public ::testing::WithParamInterface<HostileServer>
{
protected:
    // 8 s into a check that waits for the server: Windows does not take the dialog for hung,
    // sent messages and a screen reader in this process get their answers, and a Cancel posted
    // now is kept until the check has ended.
    void ExpectAnswersWhileTheCheckWaits()
    {
        PumpFor(8000);
        HWND dialog = m_run.Dialog();
        HWND link = m_run.Item(kSiteLink);
        EXPECT_FALSE(IsHungAppWindow(dialog));
        EXPECT_TRUE(SendWithTimeout(dialog, WM_NULL, 0, 0, Scaled(3000)).has_value());
        EXPECT_EQ(std::optional<std::string>("Quillory on the web"), TryText(link, Scaled(3000)));
        // The screen reader asks from a thread of its own, so that this one can stop waiting.
        std::atomic<bool> answered{false};
        std::wstring name;
        m_screenReader = std::thread([link, &answered, &name] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            IAccessible* acc = nullptr;
            if (SUCCEEDED(AccessibleObjectFromWindow(link, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&acc)))) {
                VARIANT self = {};
                self.vt = VT_I4;
                BSTR bstr = nullptr;
                if (SUCCEEDED(acc->get_accName(self, &bstr)) && bstr)
                    name = bstr;
                SysFreeString(bstr);
                acc->Release();
            }
            CoUninitialize();
            answered = true;
        });
        EXPECT_TRUE(WaitUntil([&] { return answered.load(); }, 5000));
        if (answered) {
            EXPECT_EQ(L"Quillory on the web", name);
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }

    void TearDown() override
    {
        if (m_screenReader.joinable())
            m_screenReader.join();
    }

    std::thread m_screenReader; // answers at the latest when the check has ended
};

TEST_P(UpvaneHostileServer, DialogReportsAndSurvives)
{
    if (BeyondAscii(GetParam().expectedAvailable))
        QS_SKIP_WITHOUT(AnsiTextDamaged);
    StartAfterAnUpgradeCheck();
    m_server.Serve("/version.txt", GetParam().reply);
    const ULONGLONG clicked = GetTickCount64();
    const bool probed = GetParam().probedWhileWaiting;
    HWND box = m_run.CheckAndWait(60000, [&] {
        if (probed)
            ExpectAnswersWhileTheCheckWaits();
    });
    if (probed && box) {
        // The Cancel posted during the check has not ended the dialog under its error box.
        PumpFor(500);
        EXPECT_TRUE(IsWindowVisible(m_run.Dialog()));
        EXPECT_TRUE(IsWindowVisible(box));
    }
    if (GetParam().withinMs) {
        EXPECT_LT(GetTickCount64() - clicked, GetParam().withinMs);
    }
    const Outcome outcome = GetParam().outcome;
    if (outcome == Outcome::ErrorBox) {
        ASSERT_NE(nullptr, box);
    }
    if (outcome == Outcome::Document) {
        ASSERT_EQ(nullptr, box) << UpvaneRun::MessageBoxText(box);
    }
    if (box) {
        EXPECT_EQ(GetParam().errorProgress, Progress());
        if (GetParam().error) {
            EXPECT_EQ(WinInetErrorText(GetParam().error), UpvaneRun::MessageBoxText(box));
        }
        ExpectTheUpgradeStateKept();
        ExpectErrorBoxAndClose(box);
        if (probed) {
            // The check has ended: now the Cancel takes effect.
            EXPECT_TRUE(WaitForWindowGone(m_run.Dialog(), 5000));
            return;
        }
    } else {
        EXPECT_EQ(50, Progress());
        EXPECT_EQ(std::string(kInstalledLine) + "\nAvailable Version:  " + GetParam().expectedAvailable,
                  Version());
    }
    // Still alive and answering.
    EXPECT_TRUE(m_run.Program().Running());
    EXPECT_TRUE(TryText(m_run.Dialog()).has_value());
}

// The length of the status line and headers of an answer.
size_t HeadLength(const HttpReply& reply)
{
    return reply.Bytes().find("\r\n\r\n") + 4;
}

// An answer sent one byte every `everyMs`, whose head alone takes `headMs` to arrive.
HttpReply TrickledHead(const std::string& body, unsigned everyMs, unsigned headMs)
{
    HttpReply reply = HttpReply::Trickle(body, everyMs);
    reply.headers.push_back("X-Padding: ");
    reply.headers.back() += std::string(headMs / everyMs - HeadLength(reply), 'x');
    return reply;
}

// An answer whose connection closes after `bodyBytes` bytes of its body.
HttpReply CutInBody(const std::string& body, size_t bodyBytes, bool declaresLength = true)
{
    HttpReply reply = HttpReply::CloseMidAnswer(body, 0);
    reply.contentLength = declaresLength;
    reply.cutAfter = HeadLength(reply) + bodyBytes;
    return reply;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Servers, UpvaneHostileServer,
    ::testing::Values(
        HostileServer{"MoreThan200Bytes",
                      HttpReply::Ok("Sample App Version 3.2 Build 7" + std::string(5000, 'x')),
                      Outcome::Document, "Sample App Version 3.2 Build 7", 0},
        HostileServer{"NulInsideTheExaminedText",
                      HttpReply::Ok(std::string("Sample App\0Version 3.2 Build 7", 30)), Outcome::Document,
                      "Sample App", 0},
        HostileServer{"HighBytes", HttpReply::Ok("Sample App Version 3.2 Build " + Bytes({0xE9, 0xFF})),
                      Outcome::Document, "Sample App Version 3.2 Build \xE9", 0},
        HostileServer{"EmptyBody", HttpReply::Ok(""), Outcome::Document, "", 0},
        // An answer cut off before its declared length has failed, even when nothing of its
        // body came; without a declared length, what arrived before the close is examined.
        HostileServer{"ClosesMidAnswer", CutInBody("Sample App Version 3.2 Build 7 and more", 14),
                      Outcome::ErrorBox, "", 20, ERROR_INTERNET_CONNECTION_ABORTED},
        HostileServer{"ClosesAfterTheHeadOfADeclaredLength", CutInBody("Sample App Version 3.2 Build 7", 0),
                      Outcome::ErrorBox, "", 20, ERROR_INTERNET_CONNECTION_ABORTED},
        HostileServer{"ClosesMidAnswerOfNoDeclaredLength",
                      CutInBody("Sample App Version 3.2 Build 7 and more", 14, false), Outcome::Document,
                      "Sample App Ver", 0},
        // The answer's head arrives, then the connection is reset: the read fails.
        HostileServer{"ResetAfterTheHead",
                      HttpReply::CloseMidAnswer("Sample App Version 3.2 Build 7",
                                                HeadLength(HttpReply::Ok("Sample App Version 3.2 Build 7")))
                          .Hold(1500)
                          .Reset(),
                      Outcome::ErrorBox, "", 20},
        HostileServer{"AnswersSlowly", HttpReply::Ok("Sample App Version 3.1 Build 5").Delay(2000),
                      Outcome::Document, "Sample App Version 3.1 Build 5", 0},
        // A byte every 200 ms: the head arrives well within the check's time (in 12 s), the
        // 200 bytes to be read would not. The check ends when its 30 seconds are up; the
        // dialog answers meanwhile.
        HostileServer{"TricklesItsAnswer",
                      HttpReply::Trickle("Sample App Version 3.1 Build 5" + std::string(170, 'x'), 200),
                      Outcome::ErrorBox, "", 20, ERROR_INTERNET_TIMEOUT, 35000, true},
        // A byte every quarter second, the head alone longer than the check's time: opening
        // fails when the 30 seconds are up.
        HostileServer{"TricklesItsHead", TrickledHead("Sample App Version 3.1 Build 5", 250, 50000),
                      Outcome::ErrorBox, "", 10, ERROR_INTERNET_TIMEOUT, 35000},
        HostileServer{"ClosesWithoutAnswer", HttpReply::CloseWithoutAnswer(), Outcome::Either, "", 10},
        // The check gives up after its network timeout (an error box, or under some WinINet
        // versions an empty answer) instead of blocking the dialog for good.
        HostileServer{"NeverAnswers", HttpReply::NeverAnswer(), Outcome::Either, "", 10}),
    [](const ::testing::TestParamInfo<HostileServer>& info) { return info.param.name; });

} // namespace
} // namespace qs::e2e
