#include "SourceValues.h"

#include "CIniFile.h"
#include "DisplayText.h"
#include "FilePaths.h"
#include "compat.h"
#include "profile_reader.h"

#include <vector>

namespace {

// The keys of a section as the profile reads list them (by the road the set-file reader takes),
// in file order, repeats included.
std::vector<std::string> ListSectionKeys(const std::string& strFullPath, const char* pszSection)
{
    std::vector<char> buffer(1024);
    DWORD nAnswer;
    for (;;) {
        const DWORD nSize = static_cast<DWORD>(buffer.size());
        nAnswer = ProfileReaderForAnsiCodePage().String(pszSection, nullptr, "", buffer.data(), nSize,
                                                        strFullPath.c_str());
        if (nAnswer != nSize - 2)
            break;
        buffer.assign(buffer.size() * 2, '\0');
    }
    std::vector<std::string> keys;
    for (size_t nAt = 0; nAt < nAnswer && buffer[nAt] != '\0';) {
        keys.emplace_back(&buffer[nAt]);
        nAt += keys.back().size() + 1;
    }
    return keys;
}

void WarnAboutKeys(const std::vector<std::string>& keys, SourceReading& reading)
{
    std::vector<bool> seen(keyCount, false);
    for (const std::string& strKey : keys) {
        std::string strWarning;
        const int nKey = FindSetFileKey(strKey);
        if (nKey < 0) {
            AppendFormat(strWarning, "key %s of section [%s] is not one Upvane reads; it is left out",
                         QuotedText(strKey.c_str()).c_str(), kSetFileSection);
        } else if (seen[nKey]) {
            AppendFormat(strWarning, "key %s appears more than once; the first one is used",
                         kSetFileKeys[nKey]);
        }
        if (nKey >= 0)
            seen[nKey] = true;
        if (!strWarning.empty())
            reading.m_warnings.push_back(strWarning);
    }
}

} // namespace

SourceReading ReadSourceValues(const std::string& strPath)
{
    SourceReading reading;
    const std::string strFullPath = FullPathOf(strPath);
    CIniFile ini;
    if (strFullPath.empty() || !ini.Open(strFullPath.c_str())) {
        reading.m_strError = kNoSuchFile;
        return reading;
    }
    reading.m_bOpened = true;
    if (!ini.HasSection(kSetFileSection)) {
        reading.m_warnings.push_back(std::string("it has no section [") + kSetFileSection + "]");
        return reading;
    }
    WarnAboutKeys(ListSectionKeys(strFullPath, kSetFileSection), reading);
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (ini.HasKey(kSetFileSection, kSetFileKeys[nKey]))
            reading.m_values[nKey] = CString(ini.GetValue(kSetFileSection, kSetFileKeys[nKey], ""));
    }
    return reading;
}

bool ApplyKeyValueArgument(const std::string& strArgument, SetFileValueSet& values, std::string& strError)
{
    const size_t nEquals = strArgument.find('=');
    if (nEquals == std::string::npos) {
        strError = "expected KEY=VALUE, got " + QuotedText(strArgument.c_str());
        return false;
    }
    const int nKey = FindSetFileKey(strArgument.substr(0, nEquals));
    if (nKey < 0) {
        strError = "unknown key " + QuotedText(strArgument.substr(0, nEquals).c_str());
        return false;
    }
    const std::string strValue = strArgument.substr(nEquals + 1);
    values[nKey] = CString(strValue.c_str(), static_cast<int>(strValue.size()));
    return true;
}
