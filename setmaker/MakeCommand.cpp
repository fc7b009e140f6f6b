// setmaker make: plain values in, scrambled set file out, or a refusal that writes nothing.
#include "DisplayText.h"
#include "SetFileMaker.h"
#include "Setmaker.h"
#include "SourceValues.h"

const char kMakeHelp[] =
    "Usage: setmaker make [-i SOURCE.ini] -o OUTPUT.set [--allow-missing] [KEY=VALUE ...]\n"
    "\n"
    "Writes OUTPUT.set with the nine keys of section [information], each value scrambled\n"
    "the way Upvane descrambles it. The plain values come from section [information] of\n"
    "SOURCE.ini, read like any INI file (blanks around a value are dropped; write\n"
    "\" text \" in quotes to keep them), and from KEY=VALUE arguments, taken as they\n"
    "stand, which replace the source's values.\n"
    "\n"
    "  -i, --input SOURCE.ini  the plain source\n"
    "  -o, --output FILE.set   the set file to write (replaced only when all is well)\n"
    "      --allow-missing     leave keys without a value out (Upvane shows them empty)\n"
    "                          instead of refusing\n"
    "\n"
    "A value is refused, naming the key and the character's position (counted from 0),\n"
    "when its scrambled form would hold a NUL, CR or LF byte, which would end the value or\n"
    "its line; and a value with a NUL byte is refused. Scrambling depends on the position,\n"
    "so one character more or less before a refused one usually cures it. A scrambled form\n"
    "that begins or ends with a blank or control byte the reader trims, or is enclosed in a\n"
    "pair of quotes the reader strips, is written in one more pair of double quotes, which\n"
    "the reader takes off. The file is written beside OUTPUT.set, read back the way Upvane\n"
    "reads it, and moved into place only when every value comes back unchanged: a refused\n"
    "or failed run leaves an existing OUTPUT.set as it was.\n";

namespace {

constexpr char kCommand[] = "make";

void PrintWarnings(const std::string& strSubject, const std::vector<std::string>& warnings,
                   std::string& strErr)
{
    for (const std::string& strWarning : warnings)
        strErr += "setmaker: warning: " + strSubject + strWarning + "\n";
}

} // namespace

int RunMakeCommand(const std::vector<std::string>& args, std::string& strOut, std::string& strErr)
{
    ParsedArguments parsed;
    std::string strError;
    const std::vector<OptionDef> options = {
        {"input", 'i', true}, {"output", 'o', true}, {"allow-missing", 0, false}, {"help", 'h', false}};
    if (!ParseArguments(args, options, parsed, strError))
        return UsageError(kCommand, strError, strErr);
    if (parsed.Has("help")) {
        strOut += kMakeHelp;
        return kExitSuccess;
    }
    const std::string* pOutput = parsed.Value("output");
    if (!pOutput || pOutput->empty())
        return UsageError(kCommand, "no output file given (-o FILE.set)", strErr);
    const std::string* pInput = parsed.Value("input");
    if (!pInput && parsed.m_positionals.empty())
        return UsageError(kCommand, "no values given: a source file (-i SOURCE.ini) or KEY=VALUE arguments",
                          strErr);

    // Arguments are checked before the source is read: a wrong command line is a usage error.
    SetFileValueSet fromArguments;
    for (const std::string& strArg : parsed.m_positionals) {
        if (!ApplyKeyValueArgument(strArg, fromArguments, strError))
            return UsageError(kCommand, strError, strErr);
    }

    SetFileValueSet values;
    if (pInput) {
        const SourceReading source = ReadSourceValues(*pInput);
        if (!source.m_bOpened) {
            strErr += "setmaker: cannot read " + *pInput + ": " + source.m_strError + "\n";
            return kExitRefused;
        }
        PrintWarnings(*pInput + ": ", source.m_warnings, strErr);
        values = source.m_values;
    }
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (fromArguments[nKey])
            values[nKey] = fromArguments[nKey];
    }

    const MakeResult result = MakeSetFile(*pOutput, values, parsed.Has("allow-missing"));
    PrintWarnings("", result.m_warnings, strErr);
    if (!result.m_bWritten) {
        for (const std::string& strRefusal : result.m_refusals)
            strErr += "setmaker: refused: " + strRefusal + "\n";
        if (!result.m_strFailure.empty())
            strErr += "setmaker: failed: " + result.m_strFailure + "\n";
        strErr += "setmaker: nothing written; an existing " + *pOutput + " is left as it was\n";
        return kExitRefused;
    }

    int nWritten = 0;
    std::string strLeftOut;
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (values[nKey])
            ++nWritten;
        else
            strLeftOut += std::string(strLeftOut.empty() ? "" : ", ") + kSetFileKeys[nKey];
    }
    AppendFormat(strOut, "wrote %s: %d key%s, read back and verified", result.m_strFullPath.c_str(), nWritten,
                 nWritten == 1 ? "" : "s");
    if (!strLeftOut.empty())
        strOut += " (left out: " + strLeftOut + ")";
    strOut += "\n";
    return kExitSuccess;
}
