#include "CommandLine.h"

namespace {

const OptionDef* FindLong(const std::vector<OptionDef>& defs, const std::string& strName)
{
    for (const OptionDef& def : defs) {
        if (strName == def.m_pszLong)
            return &def;
    }
    return nullptr;
}

const OptionDef* FindShort(const std::vector<OptionDef>& defs, char chName)
{
    for (const OptionDef& def : defs) {
        if (def.m_chShort != 0 && def.m_chShort == chName)
            return &def;
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

bool ParseArguments(const std::vector<std::string>& args, const std::vector<OptionDef>& defs,
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

        const OptionDef* pDef;
        std::string strValue;
        bool bHasInlineValue = false;
        if (strArg[1] == '-') {
            const size_t nEquals = strArg.find('=');
            pDef = FindLong(defs,
                            strArg.substr(2, nEquals == std::string::npos ? std::string::npos : nEquals - 2));
            if (nEquals != std::string::npos) {
                strValue = strArg.substr(nEquals + 1);
                bHasInlineValue = true;
            }
        } else {
            pDef = strArg.size() == 2 ? FindShort(defs, strArg[1]) : nullptr;
        }
        if (!pDef) {
            strError = "unknown option " + strArg;
            return false;
        }
        if (!pDef->m_bTakesValue) {
            if (bHasInlineValue) {
                strError = "option --" + std::string(pDef->m_pszLong) + " takes no value";
                return false;
            }
        } else if (!bHasInlineValue) {
            if (i + 1 >= args.size()) {
                strError = "option " + strArg + " needs a value";
                return false;
            }
            strValue = args[++i];
        }
        parsed.m_options.emplace_back(pDef->m_pszLong, strValue);
    }
    return true;
}

int UsageError(const std::string& strCommand, const std::string& strMessage, std::string& strErr)
{
    strErr += "setmaker";
    if (!strCommand.empty())
        strErr += " " + strCommand;
    strErr += ": " + strMessage + "\nTry \"setmaker " + (strCommand.empty() ? "" : strCommand + " ")
              + "--help\".\n";
    return kExitUsage;
}
