// setmaker show: a set file's values as Upvane reads them, and what its dialog makes of them.
#include "DisplayText.h"
#include "FilePaths.h"
#include "SetFileText.h"
#include "Setmaker.h"
#include "ValueAdvice.h"
#include "VersionLayout.h"
#include "WebAddress.h"

const char kShowHelp[] =
    "Usage: setmaker show SETFILE.set\n"
    "\n"
    "Reads SETFILE.set the way Upvane reads it (its set-file reader, section [information],\n"
    "each key with an empty default, each value descrambled) and prints every key's value,\n"
    "the keys that are missing (Upvane shows them empty), and the caption, lines and\n"
    "addresses the dialog composes from them. Texts are quoted; bytes that are not\n"
    "printable ASCII are written as \\xNN.\n";

namespace {

constexpr char kCommand[] = "show";

void PrintDialog(const SetFileValueSet& values, std::string& strOut)
{
    // A missing key reads as empty text, as in Upvane.
    const auto value = [&values](int nKey) { return values[nKey].value_or(CString()); };
    strOut += "\nWhat Upvane shows and opens:\n";
    AppendFormat(strOut, "  %-17s %s\n", "caption", QuotedText(value(keyTitle)).c_str());
    AppendFormat(strOut, "  %-17s %s\n", "information line", QuotedText(value(keyInfo)).c_str());
    AppendFormat(strOut, "  %-17s %s\n", "version line",
                 QuotedText(ComposeInstalledLine(value(keyInstalled))).c_str());
    AppendFormat(strOut, "  %-17s %s -> %s\n", "web-site link", QuotedText(value(keySite)).c_str(),
                 QuotedText(ComposeSiteAddress(value(keyWebLink))).c_str());
    AppendFormat(strOut, "  %-17s %s -> %s\n", "mail link", QuotedText(value(keyMailText)).c_str(),
                 QuotedText(ComposeMailAddress(value(keyWebMail))).c_str());
    // The check never sends the fragment.
    AppendFormat(
        strOut, "  %-17s %s\n", "version document",
        QuotedText(WithoutFragment(ComposeVersionDocumentAddress(value(keyWebLink), value(keyWizFile))))
            .c_str());
    AppendFormat(strOut, "  %-17s %s\n", "download",
                 QuotedText(ComposeDownloadAddress(value(keyWebLink), value(keyUpdateFileName))).c_str());
}

} // namespace

int RunShowCommand(const std::vector<std::string>& args, std::string& strOut, std::string& strErr)
{
    ParsedArguments parsed;
    std::string strError;
    if (!ParseArguments(args, {{"help", 'h', false}}, parsed, strError))
        return UsageError(kCommand, strError, strErr);
    if (parsed.Has("help")) {
        strOut += kShowHelp;
        return kExitSuccess;
    }
    if (parsed.m_positionals.size() != 1)
        return UsageError(kCommand, "give exactly one set file", strErr);

    const std::string& strName = parsed.m_positionals[0];
    const std::string strFullPath = FullPathOf(strName);
    const SetFileReading reading = ReadSetFileAsUpvane(strFullPath);
    if (!reading.m_bOpened) {
        strErr += "setmaker: cannot read " + strName + ": " + reading.m_strError + "\n";
        return kExitRefused;
    }

    strOut += "Set file " + strFullPath + "\n";
    if (!reading.m_bHasSection)
        strOut += std::string("It has no section [") + kSetFileSection + "].\n";
    std::string strMissing;
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        const std::optional<CString>& value = reading.m_values[nKey];
        AppendFormat(strOut, "%-15s %s\n", kSetFileKeys[nKey],
                     value ? QuotedText(*value).c_str() : "(missing)");
        if (!value)
            strMissing += std::string(strMissing.empty() ? "" : ", ") + kSetFileKeys[nKey];
    }
    strOut += "Missing keys: ";
    strOut += strMissing.empty() ? std::string("none") : strMissing + " (Upvane shows them empty)";
    strOut += "\n";
    PrintDialog(reading.m_values, strOut);

    if (reading.m_values[keyInstalled]) {
        for (const std::string& strWarning : VersionLayoutWarnings(*reading.m_values[keyInstalled]))
            strErr += "setmaker: warning: the installed text " + strWarning + "\n";
    }
    if (reading.m_values[keyWebLink]) {
        for (const std::string& strWarning : RefusalsForValue(keyWebLink, *reading.m_values[keyWebLink]))
            strErr += "setmaker: warning: " + strWarning + "\n";
    }
    return kExitSuccess;
}
