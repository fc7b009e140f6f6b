// setmaker check: a version check decided the way Upvane's Check button decides it.
#include "DisplayText.h"
#include "FilePaths.h"
#include "SetFileText.h"
#include "Setmaker.h"
#include "VersionReport.h"

#include <cstdio>
#include <memory>

const char kCheckHelp[] =
    "Usage: setmaker check (--installed TEXT | --set-file SETFILE.set) DOCUMENT\n"
    "\n"
    "Decides a version check the way Upvane does: the installed text (given, or the\n"
    "installed value of a set file) against DOCUMENT, a version document saved as the web\n"
    "server sends it. Of the document the first 200 bytes are read, as Upvane reads them;\n"
    "prints the examined text (its first 30 characters, 32 when it begins with \"Q7\"), the\n"
    "version and build parts of both texts, the two comparisons and the outcome: latest,\n"
    "upgrade, no message, or document missing (the server's \"Resource not found\" page).\n"
    "\n"
    "  --installed TEXT         the installed text, e.g. \"Sample App Version 3.1 Build 5\"\n"
    "  --set-file SETFILE.set   take the installed text from this set file\n"
    "\n"
    "Warns when a text is not laid out the way the cut expects: the word \"version\" at\n"
    "position 11 (counted from 0), the word \"build\" after it, one line, at most 30\n"
    "characters (32 with \"Q7\" at the start).\n";

namespace {

constexpr char kCommand[] = "check";

struct FileCloser
{
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

// The document's first bytes, read once as Upvane reads them; false when it cannot be opened.
bool ReadDocumentStart(const std::string& strPath, std::string& strReceived)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(strPath.c_str(), "rb"));
    if (!file)
        return false;
    char buffer[kVersionReadSize];
    const size_t nRead = std::fread(buffer, 1, sizeof buffer, file.get());
    strReceived.assign(buffer, nRead);
    return !std::ferror(file.get());
}

const char* OrderText(int nOrder)
{
    return nOrder < 0 ? "installed < available" : nOrder > 0 ? "installed > available" : "equal";
}

const char* ChangeText(ControlChange change)
{
    return change == ControlChange::Enable    ? "enabled"
           : change == ControlChange::Disable ? "disabled"
                                              : "unchanged";
}

void PrintLine(std::string& strOut, const char* pszLabel, const std::string& strText)
{
    AppendFormat(strOut, "%-19s %s\n", pszLabel, strText.c_str());
}

void PrintReport(const CString& strInstalled, const VersionReport& report, std::string& strOut)
{
    const VersionCheckResult& r = report.m_result;
    PrintLine(strOut, "installed text", QuotedText(strInstalled));
    PrintLine(strOut, "examined text", QuotedText(r.m_strExamined));
    PrintLine(strOut, "installed version", QuotedText(r.m_parts.m_strInstalledVersion));
    PrintLine(strOut, "installed build", QuotedText(r.m_parts.m_strInstalledBuild));
    PrintLine(strOut, "available version", QuotedText(r.m_parts.m_strAvailableVersion));
    PrintLine(strOut, "available build", QuotedText(r.m_parts.m_strAvailableBuild));
    PrintLine(strOut, "version comparison", OrderText(r.m_nVersionOrder));
    PrintLine(strOut, "build comparison", OrderText(r.m_nBuildOrder));
    PrintLine(strOut, "outcome", OutcomeName(report.m_outcome));
    PrintLine(strOut, "result line", r.m_bSetResultText ? QuotedText(r.m_strResultText) : "(unchanged)");
    PrintLine(strOut, "version display", QuotedText(r.m_strVersionDisplay));
    PrintLine(strOut, "Download button", ChangeText(r.m_download));
    PrintLine(strOut, "what's-new link",
              QuotedText(r.m_strWhatsNewText) + (r.m_bShowWhatsNew ? ", shown" : ""));
}

void PrintWarnings(const char* pszSubject, const std::vector<std::string>& warnings, std::string& strErr)
{
    for (const std::string& strWarning : warnings)
        strErr += std::string("setmaker: warning: ") + pszSubject + " " + strWarning + "\n";
}

} // namespace

int RunCheckCommand(const std::vector<std::string>& args, std::string& strOut, std::string& strErr)
{
    ParsedArguments parsed;
    std::string strError;
    if (!ParseArguments(args, {{"installed", 0, true}, {"set-file", 0, true}, {"help", 'h', false}}, parsed,
                        strError))
        return UsageError(kCommand, strError, strErr);
    if (parsed.Has("help")) {
        strOut += kCheckHelp;
        return kExitSuccess;
    }
    const std::string* pInstalled = parsed.Value("installed");
    const std::string* pSetFile = parsed.Value("set-file");
    if ((pInstalled != nullptr) == (pSetFile != nullptr))
        return UsageError(kCommand, "give the installed text either with --installed or with --set-file",
                          strErr);
    if (parsed.m_positionals.size() != 1)
        return UsageError(kCommand, "give exactly one version document", strErr);

    CString strInstalled;
    if (pInstalled) {
        strInstalled = CString(pInstalled->c_str(), static_cast<int>(pInstalled->size()));
    } else {
        const SetFileReading reading = ReadSetFileAsUpvane(FullPathOf(*pSetFile));
        if (!reading.m_bOpened) {
            strErr += "setmaker: cannot read " + *pSetFile + ": " + reading.m_strError + "\n";
            return kExitRefused;
        }
        if (!reading.m_values[keyInstalled])
            strErr += "setmaker: warning: " + *pSetFile + " has no key installed; Upvane takes empty text\n";
        strInstalled = reading.m_values[keyInstalled].value_or(CString());
    }

    const std::string& strDocument = parsed.m_positionals[0];
    std::string strReceived;
    if (!ReadDocumentStart(strDocument, strReceived)) {
        strErr += "setmaker: cannot read the version document " + strDocument + "\n";
        return kExitRefused;
    }

    const VersionReport report =
        BuildVersionReport(strInstalled, strReceived.data(), static_cast<int>(strReceived.size()));
    PrintReport(strInstalled, report, strOut);
    PrintWarnings("the installed text", report.m_installedWarnings, strErr);
    PrintWarnings("the version document", report.m_documentWarnings, strErr);
    return kExitSuccess;
}
