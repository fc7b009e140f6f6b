// setmaker verify run as a vendor runs it, against loopback servers: the version document on
// its own server (or over TLS), and the fixed what's-new address of the vendor's host reached
// through a loopback proxy that the system's proxy settings name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "HttpServer.h"
#include "Paths.h"
#include "Process.h"
#include "ScrambledSetFile.h"
#include "TempDir.h"
#include "TlsFront.h"
#include "Wait.h"

namespace qs::e2e {
namespace {

// How the server answers the version document.
enum class Doc { Upgrade, Latest, ResourceNotFound, CutOff, RedirectToHttp, BehindAProxyAskingCredentials };

// What "product.set" is: the set file, a folder, the set file's keys under another section,
// or the set file held open by another program that shares it with nobody.
enum class Target { SetFile, Folder, NoSection, Locked };

struct VerifyCase
{
    const char* name;
    const char* weblink; // {plain}: the plain server; {tls}: the TLS front
    Doc doc;
    int downloadStatus;
    int whatsNewStatus;
    const char* options;
    DWORD exit;
    std::vector<const char*> lines; // lines the output holds; "problem:" lines all of them
    Target target = Target::SetFile;
};

void PrintTo(const VerifyCase& c, std::ostream* os)
{
    *os << c.name;
}

const char kWhatsNewAsProxied[] = "http://www.quillory.com:80/What's%20New.pdf";
const char kDocumentAsProxied[] = "http://www.quillory.com:80/quillory/version.txt";

std::string Replaced(std::string text, const std::string& mark, const std::string& value)
{
    for (size_t at; (at = text.find(mark)) != std::string::npos;)
        text.replace(at, mark.size(), value);
    return text;
}

class SetmakerVerify : public ::testing::TestWithParam<VerifyCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_plain.Listening() && m_secure.Listening() && m_proxy.Listening());
        // WinINet takes these as the system's proxy settings; the servers here bypass it.
        SetEnvironmentVariableA("http_proxy", m_proxy.Url("").c_str());
        SetEnvironmentVariableA("no_proxy", "127.0.0.1;localhost");
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("http_proxy", nullptr);
        SetEnvironmentVariableA("no_proxy", nullptr);
    }

    std::string Fill(const std::string& text) const
    {
        const std::string tls = m_front ? "localhost:" + std::to_string(m_front->TrustedPort()) : "";
        return Replaced(Replaced(text, "{plain}", m_plain.Address()), "{tls}", tls);
    }

    // Runs setmaker verify in the folder; its exit code and what it printed.
    DWORD Run(const std::string& arguments, std::string& output) const
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        const std::string outPath = m_dir.File("out.txt");
        HANDLE out =
            CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = out;
        std::string command = "\"" + QS_DELIVERABLE(SETMAKER) + "\" verify " + arguments;
        PROCESS_INFORMATION pi = {};
        const BOOL started = CreateTestedProcess(nullptr, command.data(), TRUE, CREATE_NO_WINDOW,
                                                 m_dir.Path().c_str(), &si, &pi);
        CloseHandle(out);
        if (!started)
            return ~DWORD{0};
        DWORD exit = ~DWORD{0};
        if (WaitForSingleObject(pi.hProcess, Scaled(90000)) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &exit);
        else
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        output.clear();
        for (const char ch : m_dir.Read("out.txt").value_or("")) // console text: CR LF lines
            if (ch != '\r')
                output += ch;
        return exit;
    }

    HttpServer m_plain;
    HttpServer m_secure; // behind the TLS front
    HttpServer m_proxy;
    std::unique_ptr<TlsFront> m_front;
    TempDir m_dir{"verify-"};
};

TEST_P(SetmakerVerify, PrintsWhatUpvaneShowsAndOneLinePerProblem)
{
    const VerifyCase& c = GetParam();
    const bool tls = std::string(c.weblink).find("{tls}") != std::string::npos;
    if (tls) {
        if (const auto why = TlsFront::Unavailable())
            GTEST_SKIP() << *why;
        m_front = std::make_unique<TlsFront>(m_secure);
        ASSERT_TRUE(m_front->Ready()) << m_front->Failure();
    }
    HttpServer& server = tls ? m_secure : m_plain;
    const char* const texts[] = {"Sample App Version 3.2 Build 7", "Sample App Version 3.1 Build 5"};
    HttpReply doc = HttpReply::Ok(texts[c.doc == Doc::Latest]);
    if (c.doc == Doc::ResourceNotFound)
        doc = HttpReply::Status("HTTP/1.0 404 Not Found", "Resource not found");
    if (c.doc == Doc::CutOff)
        doc = HttpReply::CloseMidAnswer(std::string(texts[0]) + "\r\n" + std::string(500, '.'), 90).Hold(300);
    if (c.doc == Doc::RedirectToHttp) {
        doc = HttpReply::Status("HTTP/1.0 302 Found", "");
        doc.headers.push_back("Location: " + m_plain.Url("/quillory/version.txt"));
        m_plain.Serve("/quillory/version.txt", HttpReply::Ok(texts[0]));
    }
    const auto status = [](int code) {
        return HttpReply::Status("HTTP/1.0 " + std::to_string(code) + " X", "x");
    };
    server.Serve("/quillory/version.txt", doc);
    if (c.doc == Doc::BehindAProxyAskingCredentials) {
        doc.proxyAuthorization = "Basic Y2xlcms6czNjcmV0";
        m_proxy.Serve(kDocumentAsProxied, doc);
    }
    server.Serve("/quillory/QuilloryUpgrade.exe", status(c.downloadStatus));
    server.Serve("/quillory", status(200));
    m_proxy.Serve(kWhatsNewAsProxied, status(c.whatsNewStatus));
    const std::string setText = MakeSetFileText(ExampleValues(Fill(c.weblink)));
    if (c.target == Target::Folder)
        m_dir.MakeDir("product.set");
    else
        ASSERT_TRUE(m_dir.Write("product.set", c.target == Target::NoSection
                                                   ? Replaced(setText, "[information]", "[release]")
                                                   : setText));
    HANDLE lock = INVALID_HANDLE_VALUE;
    if (c.target == Target::Locked) {
        lock = CreateFileA(m_dir.File("product.set").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    }

    std::string output;
    EXPECT_EQ(c.exit, Run(std::string("product.set ") + c.options, output)) << output;
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
    size_t problems = 0;
    for (const char* line : c.lines) {
        EXPECT_NE(std::string::npos, output.find(Fill(line) + "\n")) << Fill(line) << "\n---\n" << output;
        problems += std::string(line).rfind("problem: ", 0) == 0;
    }
    size_t printed = 0;
    for (size_t at = 0; (at = output.find("problem: ", at)) != std::string::npos; ++at)
        printed += at == 0 || output[at - 1] == '\n';
    EXPECT_EQ(problems, printed) << output;
    EXPECT_EQ(std::string::npos, output.find("secret")) << output;
    // No set file, no request: not to "http:///", not to the vendor's host.
    const bool sends = c.target == Target::SetFile;
    EXPECT_EQ(sends ? 1u : 0u, m_proxy.RequestCount());
    if (!sends) {
        EXPECT_EQ(0u, m_plain.RequestCount());
    }
}

const char kUpgradeLine[] = "  result text        \"This is an upgrade\"";
const char kDownloadOk[] =
    "  Download           http://{plain}/quillory/QuilloryUpgrade.exe: HTTP status 200";

INSTANTIATE_TEST_SUITE_P(
    Cases, SetmakerVerify,
    ::testing::Values(
        VerifyCase{"UpgradeOffered",
                   "{plain}/quillory",
                   Doc::Upgrade,
                   200,
                   200,
                   "",
                   0,
                   {"  version display    \"Installed  Version:  Sample App Version 3.1 Build 5\"",
                    "                     \"Available Version:  Sample App Version 3.2 Build 7\"",
                    kUpgradeLine, "                     \"Click Download to get the Upgrade\"",
                    "  what's-new link    \"See what's new in Version 3.2Build 7\", shown",
                    "  Download button    enabled", kDownloadOk,
                    "  what's-new link    http://www.quillory.com/What's New.pdf: HTTP status 200",
                    "  site link          http://{plain}/quillory: HTTP status 200", "No problems."}},
        VerifyCase{"LatestForTheInstalledTextGiven",
                   "{plain}/quillory",
                   Doc::Upgrade,
                   200,
                   200,
                   "--installed \"Sample App Version 3.2 Build 7\"",
                   0,
                   {"  result text        \"You have the latest version.\"",
                    "  what's-new link    \"See what's new in Version 3.2Build 7\", hidden",
                    "  Download button    disabled"}},
        VerifyCase{"DocumentMissing",
                   "{plain}/quillory",
                   Doc::ResourceNotFound,
                   200,
                   200,
                   "",
                   4,
                   {"                     \" Available Version information was not found!\"",
                    "problem: version document http://{plain}/quillory/version.txt: HTTP status 404: Upvane "
                    "reads the server's answer as the version document"}},
        VerifyCase{"Download404",
                   "{plain}/quillory",
                   Doc::Upgrade,
                   404,
                   200,
                   "--quiet",
                   5,
                   {"problem: Download http://{plain}/quillory/QuilloryUpgrade.exe: HTTP status 404"}},
        VerifyCase{"WhatsNew404",
                   "{plain}/quillory",
                   Doc::Latest,
                   200,
                   404,
                   "",
                   5,
                   {"  result text        \"You have the latest version.\"", kDownloadOk,
                    "problem: what's-new link http://www.quillory.com/What's New.pdf: HTTP status 404"}},
        VerifyCase{"RedirectToHttpRefused",
                   "https://user:secret@{tls}/quillory",
                   Doc::RedirectToHttp,
                   200,
                   200,
                   "--timeout 20",
                   3,
                   {"  version display    \"Installed  Version:  Sample App Version 3.1 Build 5\"",
                    "  Download button    disabled",
                    "  site link          https://{tls}/quillory: HTTP status 200",
                    // Wine has no text for this error: the framework names it.
                    "problem: version document https://{tls}/quillory/version.txt: Internet error 12040."}},
        VerifyCase{
            "CutOffAnswer",
            "{plain}/quillory",
            Doc::CutOff,
            200,
            200,
            "",
            3,
            {"  result text        \"\"",
             "problem: version document http://{plain}/quillory/version.txt: The connection with the server "
             "has been terminated. (error 12030)"}},
        VerifyCase{"AFolderIsNoSetFile",
                   "{plain}/quillory",
                   Doc::Upgrade,
                   200,
                   200,
                   "",
                   1,
                   {"setmaker: cannot read product.set: it is not a file"},
                   Target::Folder},
        VerifyCase{"KeysOutsideTheSectionAreNoSetFile",
                   "{plain}/quillory",
                   Doc::Upgrade,
                   200,
                   200,
                   "",
                   1,
                   {"setmaker: cannot read product.set: no section [information] could be read from it"},
                   Target::NoSection},
        VerifyCase{"ALockedFileIsNotReadable",
                   "{plain}/quillory",
                   Doc::Upgrade,
                   200,
                   200,
                   "",
                   1,
                   {"setmaker: cannot read product.set: no section [information] could be read from it"},
                   Target::Locked},
        // The document goes through the proxy, which answers 407: nobody is asked, nothing
        // more is requested.
        VerifyCase{
            "ProxyAsksForCredentials",
            "www.quillory.com/quillory",
            Doc::BehindAProxyAskingCredentials,
            200,
            200,
            "",
            5,
            {"setmaker verify: the proxy server in this user's Internet settings requires a user name and "
             "password; verify does not ask for them"}}),
    [](const ::testing::TestParamInfo<VerifyCase>& info) { return info.param.name; });

} // namespace
} // namespace qs::e2e
