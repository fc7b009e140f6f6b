// setmaker verify: a release checked as Upvane will meet it. The set file is read with Upvane's
// reader and descrambling, the addresses are composed by Upvane's functions, the version
// document is fetched with Upvane's check session and decided by Upvane's version logic; then
// every address a user can open is asked whether it answers.
#include "DisplayText.h"
#include "FilePaths.h"
#include "SetFileText.h"
#include "Setmaker.h"
#include "UpvaneTexts.h"
#include "VerifyNetwork.h"
#include "VersionReport.h"
#include "WebAddress.h"

#include <cstdlib>

const char kVerifyHelp[] =
    "Usage: setmaker verify SETFILE.set [--installed TEXT] [--timeout SECONDS] [--quiet]\n"
    "\n"
    "Checks a release as Upvane will meet it. Reads SETFILE.set as Upvane reads it, fetches\n"
    "the version document with Upvane's own Internet session and rules (redirects, never from\n"
    "https to http; credentials only to their own origin; a cut-off answer is a failure; the\n"
    "check's time limit), and prints what Upvane's dialog shows after Check on a machine whose\n"
    "installed text is the set file's (or TEXT): the version display, the result text, the\n"
    "what's-new link and the Download button. Then it asks the Download address, the what's-new\n"
    "address and the site link whether they answer (redirects followed as the check follows\n"
    "them, the last answer's status taken, the file itself not downloaded). The mail link is\n"
    "only printed. Credentials are never printed.\n"
    "\n"
    "  --installed TEXT     the installed text, e.g. \"Sample App Version 3.1 Build 5\"\n"
    "  --timeout SECONDS    the limit for each request (1 to 3600; default 30, the check's)\n"
    "  --quiet              print only the problems\n"
    "\n"
    "Each problem is one line: \"problem: \", what, the address, and the system's error text\n"
    "or the HTTP status. Exit status: 0 no problem; 3 Check ends in an error box (the document\n"
    "cannot be fetched); 4 Check shows something other than what the document says (an HTTP\n"
    "error page read as the document, the \"Resource not found\" page, no result message, a\n"
    "version text laid out other than the cut expects); 5 Download, the what's-new link or\n"
    "the site link does not answer (a failure, or HTTP status 300 or above). With several, the\n"
    "lowest. 1 the set file cannot be read (it is no file, or no section [information] can be\n"
    "read from it: nothing is sent), 2 wrong command line.\n";

namespace {

constexpr char kCommand[] = "verify";
constexpr char kNotAFile[] = "it is not a file";
constexpr unsigned kDefaultTimeoutSeconds = 30;
constexpr unsigned long kMaxTimeoutSeconds = 3600;

// The dialog as OnInitDialog leaves it, changed by one Check.
struct DialogAfterCheck
{
    std::string m_strErrorBox; // the check failed: the error box's text
    CString m_strVersionDisplay;
    CString m_strResultText;
    CString m_strWhatsNewText;
    bool m_bWhatsNewShown = false;
    bool m_bDownloadEnabled = false;
};

struct Problem
{
    int m_nExit;
    std::string m_strLine;
};

class Verification
{
public:
    Verification(VerifyNetwork& network, unsigned nTimeLimitMs)
        : m_network(network),
          m_nTimeLimitMs(nTimeLimitMs)
    {
    }

    void Run(const SetFileValueSet& values, const CString& strInstalled);
    const std::string& Report() const { return m_strReport; }
    const std::vector<Problem>& Problems() const { return m_problems; }
    // The proxy asked for credentials: verify asks nobody (it often runs unattended), and
    // checks nothing more.
    bool ProxyRefused() const { return m_bProxyRefused; }

private:
    void CheckDocument(const CString& strAddress, const CString& strInstalled);
    void ProbeAddress(const char* pszWhat, const CString& strAddress);
    void AddProblem(int nExit, const std::string& strWhat, const CString& strAddress,
                    const std::string& strText);
    void PrintDialog(const DialogAfterCheck& dialog, const VersionReport* pReport);
    void PrintAddress(const char* pszWhat, const CString& strAddress, const std::string& strResult);

    VerifyNetwork& m_network;
    unsigned m_nTimeLimitMs;
    std::string m_strReport;
    std::string m_strAddresses;
    std::vector<Problem> m_problems;
    bool m_bProxyRefused = false;
};

// What is printed of an address: never its credentials, never the fragment no request sends.
std::string Printable(const CString& strAddress)
{
    // Credentials first: a password may hold a raw "#", which would otherwise cut it in two.
    return std::string(WithoutFragment(WithoutUserInfo(strAddress)).GetString());
}

// The system's text and its error code, unless the text already names the code.
std::string FailureText(const RequestOutcome& outcome)
{
    std::string strCode;
    AppendFormat(strCode, "%lu", outcome.m_nError);
    if (outcome.m_strError.find(strCode) != std::string::npos)
        return outcome.m_strError;
    return outcome.m_strError + " (error " + strCode + ")";
}

std::string StatusText(unsigned long nStatus)
{
    std::string strText;
    AppendFormat(strText, "HTTP status %lu", nStatus);
    return strText;
}

bool StatusAnswers(unsigned long nStatus)
{
    return nStatus >= 200 && nStatus < 300;
}

void AppendLines(std::string& strOut, const char* pszLabel, const CString& strText)
{
    // One quoted line per line the static control shows.
    int nStart = 0;
    const char* pszIndent = pszLabel;
    for (;;) {
        const int nBreak = strText.Find('\n', nStart);
        const CString strLine =
            strText.Mid(nStart, nBreak < 0 ? strText.GetLength() - nStart : nBreak - nStart);
        AppendFormat(strOut, "  %-18s %s\n", pszIndent, QuotedText(strLine).c_str());
        if (nBreak < 0)
            return;
        nStart = nBreak + 1;
        pszIndent = "";
    }
}

void Verification::AddProblem(int nExit, const std::string& strWhat, const CString& strAddress,
                              const std::string& strText)
{
    std::string strLine = "problem: " + strWhat;
    if (!strAddress.IsEmpty())
        strLine += " " + Printable(strAddress);
    m_problems.push_back({nExit, strLine + ": " + strText});
}

void Verification::PrintAddress(const char* pszWhat, const CString& strAddress, const std::string& strResult)
{
    AppendFormat(m_strAddresses, "  %-18s %s: %s\n", pszWhat, Printable(strAddress).c_str(),
                 strResult.c_str());
}

void Verification::PrintDialog(const DialogAfterCheck& dialog, const VersionReport* pReport)
{
    m_strReport += "What Upvane shows after Check:\n";
    if (!dialog.m_strErrorBox.empty())
        AppendFormat(m_strReport, "  %-18s %s\n", "error box",
                     QuotedText(dialog.m_strErrorBox.c_str()).c_str());
    AppendLines(m_strReport, "version display", dialog.m_strVersionDisplay);
    AppendLines(m_strReport, "result text", dialog.m_strResultText);
    AppendFormat(m_strReport, "  %-18s %s, %s\n", "what's-new link",
                 QuotedText(dialog.m_strWhatsNewText).c_str(), dialog.m_bWhatsNewShown ? "shown" : "hidden");
    AppendFormat(m_strReport, "  %-18s %s\n", "Download button",
                 dialog.m_bDownloadEnabled ? "enabled" : "disabled");
    if (pReport)
        AppendFormat(m_strReport, "  %-18s %s\n", "outcome", OutcomeName(pReport->m_outcome));
}

void Verification::CheckDocument(const CString& strAddress, const CString& strInstalled)
{
    DialogAfterCheck dialog;
    dialog.m_strVersionDisplay = ComposeInstalledLine(strInstalled);
    const RequestOutcome outcome = m_network.FetchDocument(strAddress, m_nTimeLimitMs);
    if (outcome.m_bProxyCredentials) {
        m_bProxyRefused = true;
        return;
    }
    if (outcome.m_bFailed) {
        dialog.m_strErrorBox = outcome.m_strError;
        PrintDialog(dialog, nullptr);
        PrintAddress("version document", strAddress, FailureText(outcome));
        AddProblem(kExitCheckFails, "version document", strAddress, FailureText(outcome));
        return;
    }

    const VersionReport report = BuildVersionReport(strInstalled, outcome.m_strReceived.data(),
                                                    static_cast<int>(outcome.m_strReceived.size()));
    const VersionCheckResult& r = report.m_result;
    dialog.m_strVersionDisplay = r.m_strVersionDisplay;
    if (r.m_bSetResultText)
        dialog.m_strResultText = r.m_strResultText;
    dialog.m_strWhatsNewText = r.m_strWhatsNewText;
    dialog.m_bWhatsNewShown = r.m_bShowWhatsNew;
    dialog.m_bDownloadEnabled = r.m_download == ControlChange::Enable;
    PrintDialog(dialog, &report);
    PrintAddress("version document", strAddress, StatusText(outcome.m_nStatus));

    for (const std::string& strWarning : report.m_installedWarnings)
        AddProblem(kExitNotImplied, "the installed text", CString(), strWarning);
    if (!StatusAnswers(outcome.m_nStatus)) {
        AddProblem(kExitNotImplied, "version document", strAddress,
                   StatusText(outcome.m_nStatus)
                       + ": Upvane reads the server's answer as the version document");
        return;
    }
    if (report.m_outcome == CheckOutcome::DocumentMissing)
        AddProblem(kExitNotImplied, "version document", strAddress,
                   "it holds \"Resource not found\": Upvane shows \"" + std::string(kMsgVersionNotFound + 1)
                       + "\"");
    else if (report.m_outcome == CheckOutcome::NoMessage)
        AddProblem(kExitNotImplied, "version document", strAddress,
                   "its version is above the installed one but its build is not: Upvane shows no result");
    for (const std::string& strWarning : report.m_documentWarnings)
        AddProblem(kExitNotImplied, "version document", strAddress, strWarning);
}

void Verification::ProbeAddress(const char* pszWhat, const CString& strAddress)
{
    const RequestOutcome outcome = m_network.Probe(strAddress, m_nTimeLimitMs);
    const std::string strResult = outcome.m_bFailed ? FailureText(outcome) : StatusText(outcome.m_nStatus);
    PrintAddress(pszWhat, strAddress, strResult);
    if (outcome.m_bFailed || !StatusAnswers(outcome.m_nStatus))
        AddProblem(kExitUnreachable, pszWhat, strAddress, strResult);
}

void Verification::Run(const SetFileValueSet& values, const CString& strInstalled)
{
    // A missing key reads as empty text, as in Upvane.
    const auto value = [&values](int nKey) { return values[nKey].value_or(CString()); };
    const CString strWebLink = value(keyWebLink);
    CheckDocument(ComposeVersionDocumentAddress(strWebLink, value(keyWizFile)), strInstalled);
    if (m_bProxyRefused)
        return;
    ProbeAddress("Download", ComposeDownloadAddress(strWebLink, value(keyUpdateFileName)));
    ProbeAddress("what's-new link", ComposeWhatsNewAddress());
    ProbeAddress("site link", ComposeSiteAddress(strWebLink));
    PrintAddress("mail link", ComposeMailAddress(value(keyWebMail)), "not checked");
    m_strReport += "\nAddresses:\n" + m_strAddresses;
}

// SECONDS as a whole number from 1 to kMaxTimeoutSeconds; false otherwise.
bool ParseSeconds(const std::string& strText, unsigned& nSeconds)
{
    if (strText.empty() || strText.find_first_not_of("0123456789") != std::string::npos || strText.size() > 5)
        return false;
    const unsigned long nValue = std::strtoul(strText.c_str(), nullptr, 10);
    if (nValue < 1 || nValue > kMaxTimeoutSeconds)
        return false;
    nSeconds = static_cast<unsigned>(nValue);
    return true;
}

} // namespace

int RunVerifyCommand(const std::vector<std::string>& args, VerifyNetwork* pNetwork, std::string& strOut,
                     std::string& strErr)
{
    ParsedArguments parsed;
    std::string strError;
    if (!ParseArguments(
            args, {{"installed", 0, true}, {"timeout", 0, true}, {"quiet", 'q', false}, {"help", 'h', false}},
            parsed, strError))
        return UsageError(kCommand, strError, strErr);
    if (parsed.Has("help")) {
        strOut += kVerifyHelp;
        return kExitSuccess;
    }
    if (parsed.m_positionals.size() != 1)
        return UsageError(kCommand, "give exactly one set file", strErr);
    unsigned nSeconds = kDefaultTimeoutSeconds;
    if (const std::string* pTimeout = parsed.Value("timeout"); pTimeout && !ParseSeconds(*pTimeout, nSeconds))
        return UsageError(kCommand, "--timeout takes a whole number of seconds from 1 to 3600", strErr);
    if (!pNetwork) {
        strErr +=
            "setmaker verify: this build has no Internet session; run setmaker.exe on Windows (or Wine)\n";
        return kExitRefused;
    }

    const std::string& strName = parsed.m_positionals[0];
    const std::string strFullPath = FullPathOf(strName);
    // Something that is no set file is refused before anything is sent: verified, it would
    // send its requests to "http:///" and the vendor's host and blame the network.
    const SetFileReading reading = ReadSetFileAsUpvane(strFullPath);
    std::string strUnreadable = reading.m_strError;
    if (reading.m_bOpened && !IsRegularFile(strFullPath))
        strUnreadable = kNotAFile;
    else if (reading.m_bOpened && !reading.m_bHasSection)
        strUnreadable = std::string("no section [") + kSetFileSection + "] could be read from it";
    if (!strUnreadable.empty()) {
        strErr += "setmaker: cannot read " + strName + ": " + strUnreadable + "\n";
        return kExitRefused;
    }
    CString strInstalled = reading.m_values[keyInstalled].value_or(CString());
    if (const std::string* pInstalled = parsed.Value("installed"))
        strInstalled = CString(pInstalled->c_str(), static_cast<int>(pInstalled->size()));

    Verification verification(*pNetwork, nSeconds * 1000);
    verification.Run(reading.m_values, strInstalled);
    if (verification.ProxyRefused()) {
        strOut +=
            "setmaker verify: the proxy server in this user's Internet settings requires a user name and "
            "password; verify does not ask for them\n";
        return kExitUnreachable;
    }

    const bool bQuiet = parsed.Has("quiet");
    if (!bQuiet)
        strOut += "Set file " + strFullPath + ", installed text " + QuotedText(strInstalled) + "\n\n"
                  + verification.Report() + "\n";
    int nExit = kExitSuccess;
    for (const Problem& problem : verification.Problems()) {
        strOut += problem.m_strLine + "\n";
        if (nExit == kExitSuccess || problem.m_nExit < nExit)
            nExit = problem.m_nExit;
    }
    if (!bQuiet && nExit == kExitSuccess)
        strOut += "No problems.\n";
    return nExit;
}
