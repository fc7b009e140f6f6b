#include "SetFileText.h"

#include "CIniFile.h"
#include "Descramble.h"
#include "ValueRules.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kHeaderComment[] =
    "; Upvane set file made by setmaker. The values are scrambled: edit the plain source and make it again.";

} // namespace

// The reader fails only for an empty name and for a path where nothing exists.
const char kNoSuchFile[] = "there is no such file";

int FindSetFileKey(const std::string& strName)
{
    CString strWanted(strName.c_str(), static_cast<int>(strName.size()));
    strWanted.MakeLower();
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (strWanted == kSetFileKeys[nKey])
            return nKey;
    }
    return -1;
}

std::string ComposeSetFileText(const SetFileValueSet& values)
{
    std::string strText = std::string(kHeaderComment) + kLineEnd + "[" + kSetFileSection + "]" + kLineEnd;
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (!values[nKey])
            continue;
        strText += kSetFileKeys[nKey];
        strText += '=';
        strText += WrittenStoredValue(ToggleScrambling(*values[nKey]));
        strText += kLineEnd;
    }
    return strText;
}

SetFileReading ReadSetFileAsUpvane(const std::string& strPath)
{
    SetFileReading reading;
    CIniFile ini;
    reading.m_bOpened = !strPath.empty() && ini.Open(strPath.c_str());
    if (!reading.m_bOpened) {
        reading.m_strError = kNoSuchFile;
        return reading;
    }
    reading.m_bHasSection = ini.HasSection(kSetFileSection) != FALSE;
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (!ini.HasKey(kSetFileSection, kSetFileKeys[nKey]))
            continue;
        // The reader's result is overwritten by its next call: copy it at once.
        const CString strStored = ini.GetValue(kSetFileSection, kSetFileKeys[nKey], "");
        reading.m_values[nKey] = ToggleScrambling(strStored);
    }
    return reading;
}
