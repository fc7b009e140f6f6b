// The tool's command line: options in the usual forms ("-o FILE", "--output FILE",
// "--output=FILE", flags without value), "--" ending the options, everything else positional.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct OptionDef
{
    const char* m_pszLong; // without the leading "--"
    char m_chShort;        // 0 for none
    bool m_bTakesValue;
};

struct ParsedArguments
{
    std::vector<std::string> m_positionals;
    std::vector<std::pair<std::string, std::string>> m_options; // long name, value ("" for a flag)

    bool Has(const char* pszLong) const;
    // The value of the option's last occurrence; null when it was not given.
    const std::string* Value(const char* pszLong) const;
};

// Parses the arguments against the options; false with the reason for an unknown option or an
// option without its value.
bool ParseArguments(const std::vector<std::string>& args, const std::vector<OptionDef>& defs,
                    ParsedArguments& parsed, std::string& strError);

// The process's exit codes.
enum ExitCode {
    kExitSuccess = 0,
    kExitRefused = 1, // refused or failed: nothing written, or the file cannot be read
    kExitUsage = 2,   // the command line is wrong
    // verify: the lowest of these that applies.
    kExitCheckFails = 3,  // Upvane's Check would end in an error box
    kExitNotImplied = 4,  // Check shows something other than what the version document says
    kExitUnreachable = 5, // Download, the what's-new link or the site link does not answer
};

// A usage error: the message, a pointer to the command's help, and the exit code.
int UsageError(const std::string& strCommand, const std::string& strMessage, std::string& strErr);
