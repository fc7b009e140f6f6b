#include "CommandLine.h"

namespace {

const OptionSpec* FindLong(const std::vector<OptionSpec>& specs, const std::string& strName)
{
    for (const OptionSpec& spec : specs) {
        if (strName == spec.m_pszLong)
            return &spec;
    }
    return nullptr;
}

const OptionSpec* FindShort(const std::vector<OptionSpec>& specs, char chName)
{
    for (const OptionSpec& spec : specs) {
        if (spec.m_chShort != 0 && spec.m_chShort == chName)
            return &spec;
    }
    return nullptr;
}

} // namespace

bool ParsedArguments::Has(const char* pszLong) const
{
    return Value(pszLong) != nullptr;
}

const std::string* ParsedArguments::Value(const char* pszLong) const
{
    const std::string* pValue = nullptr;
    for (const auto& option : m_options) {
        if (option.first == pszLong)
            pValue = &option.second;
    }
    return pValue;
}

bool ParseArguments(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                    ParsedArguments& parsed, std::string& strError)
{
    bool bOptionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& strArg = args[i];
        if (bOptionsEnded || strArg.size() < 2 || strArg[0] != '-') {
            parsed.m_positionals.push_back(strArg);
            continue;
        }
        if (strArg == "--") {
            bOptionsEnded = true;
            continue;
        }

        const OptionSpec* pSpec;
        std::string strValue;
        bool bHasInlineValue = false;
        if (strArg[1] == '-') {
            const size_t nEquals = strArg.find('=');
            pSpec = FindLong(specs, strArg.substr(2, nEquals == std::string::npos ? std::string::npos : nEquals - 2));
            if (nEquals != std::string::npos) {
                strValue = strArg.substr(nEquals + 1);
                bHasInlineValue = true;
            }
        } else {
            pSpec = strArg.size() == 2 ? FindShort(specs, strArg[1]) : nullptr;
        }
        if (!pSpec) {
            strError = "unknown option " + strArg;
            return false;
        }
        if (!pSpec->m_bTakesValue) {
            if (bHasInlineValue) {
                strError = "option --" + std::string(pSpec->m_pszLong) + " takes no value";
                return false;
            }
        } else if (!bHasInlineValue) {
            if (i + 1 >= args.size()) {
                strError = "option " + strArg + " needs a value";
                return false;
            }
            strValue = args[++i];
        }
        parsed.m_options.emplace_back(pSpec->m_pszLong, strValue);
    }
    return true;
}

int UsageError(const std::string& strCommand, const std::string& strMessage, std::string& strErr)
{
    strErr += "setmaker";
    if (!strCommand.empty())
        strErr += " " + strCommand;
    strErr += ": " + strMessage + "\nTry \"setmaker " + (strCommand.empty() ? "" : strCommand + " ") + "--help\".\n";
    return kExitUsage;
}
