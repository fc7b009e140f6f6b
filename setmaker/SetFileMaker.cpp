#include "SetFileMaker.h"

#include "FindHandle.h"

#include "DisplayText.h"
#include "FilePaths.h"
#include "PendingFile.h"
#include "ValueAdvice.h"
#include "ValueRules.h"
#include "compat.h"

namespace {

// The extension of the files Upvane looks for: its search pattern without the "*".
const char* const kSetFileExtension = kSetFileMask + 1;

std::string KeyPrefix(int nKey)
{
    return std::string("key ") + kSetFileKeys[nKey] + ": ";
}

bool EndsWithNoCase(const std::string& strText, const char* pszEnd)
{
    CString strTail(strText.c_str());
    strTail = strTail.Right(static_cast<int>(std::string(pszEnd).size()));
    strTail.MakeLower();
    return strTail == pszEnd;
}

void RefuseProblems(const SetFileValueSet& values, bool bAllowMissing, MakeResult& result)
{
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (!values[nKey]) {
            if (!bAllowMissing)
                result.m_refusals.push_back(
                    KeyPrefix(nKey) + "no value given (give one, or pass --allow-missing to leave it out)");
            continue;
        }
        for (const ValueProblem& problem : FindValueProblems(*values[nKey]))
            result.m_refusals.push_back(KeyPrefix(nKey) + DescribeValueProblem(*values[nKey], problem));
        for (const std::string& strRefusal : RefusalsForValue(nKey, *values[nKey]))
            result.m_refusals.push_back(KeyPrefix(nKey) + strRefusal);
    }
}

// The first position at which two texts differ (the shorter one's length when one begins
// the other).
int FirstDifference(const CString& strA, const CString& strB)
{
    int i = 0;
    while (i < strA.GetLength() && i < strB.GetLength() && strA.GetAt(i) == strB.GetAt(i))
        ++i;
    return i;
}

// Compares what Upvane reads from the written file with what was meant; empty when all match.
std::string ReadBackDifferences(const std::string& strPath, const SetFileValueSet& values)
{
    const SetFileReading reading = ReadSetFileAsUpvane(strPath);
    if (!reading.m_bOpened)
        return "the written file cannot be read back: " + reading.m_strError;
    std::string strDifferences;
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        const std::optional<CString>& meant = values[nKey];
        const std::optional<CString>& read = reading.m_values[nKey];
        if (meant.has_value() != read.has_value()) {
            AppendFormat(strDifferences, "%skey %s is %s when read back", strDifferences.empty() ? "" : "; ",
                         kSetFileKeys[nKey], meant ? "missing" : "present");
        } else if (meant && *meant != *read) {
            AppendFormat(strDifferences, "%skey %s reads back as %s, differing from position %d",
                         strDifferences.empty() ? "" : "; ", kSetFileKeys[nKey], QuotedText(*read).c_str(),
                         FirstDifference(*meant, *read));
        }
    }
    return strDifferences;
}

// Upvane reads the first set file its folder search finds; another one there may win.
void WarnAboutOtherSetFiles(const std::string& strFullPath, MakeResult& result)
{
    WIN32_FIND_DATAA found = {};
    const std::string strPattern = FolderOf(strFullPath) + PathSeparator() + kSetFileMask;
    const FindHandle find(::FindFirstFileA(strPattern.c_str(), &found));
    if (!find.IsValid())
        return;
    std::string strOthers;
    CString strOwnName(FileNameOf(strFullPath).c_str());
    strOwnName.MakeLower();
    do {
        CString strName(found.cFileName);
        strName.MakeLower();
        if (strName != strOwnName)
            strOthers += (strOthers.empty() ? "" : ", ") + std::string(found.cFileName);
    } while (::FindNextFileA(find.Get(), &found));
    if (!strOthers.empty())
        result.m_warnings.push_back("the folder holds other set files (" + strOthers
                                    + "); Upvane reads only the first one its file search finds");
}

} // namespace

MakeResult MakeSetFile(const std::string& strOutput, const SetFileValueSet& values, bool bAllowMissing)
{
    MakeResult result;
    result.m_strFullPath = FullPathOf(strOutput);
    if (result.m_strFullPath.empty()) {
        result.m_refusals.push_back("no full path can be formed from the output name "
                                    + QuotedText(strOutput.c_str()));
        return result;
    }
    // Upvane's reader holds a full path in MAX_PATH bytes, its NUL included.
    if (result.m_strFullPath.size() >= MAX_PATH) {
        result.m_refusals.push_back("the full path of the output is longer than 259 characters; "
                                    "the set-file reader cannot open it");
        return result;
    }
    if (!EndsWithNoCase(result.m_strFullPath, kSetFileExtension))
        result.m_warnings.push_back(std::string("the output's name does not end in \"") + kSetFileExtension
                                    + "\"; Upvane looks only for files that do");
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        if (!values[nKey])
            continue;
        for (const std::string& strAdvice : AdviceForValue(nKey, *values[nKey]))
            result.m_warnings.push_back(KeyPrefix(nKey) + strAdvice);
    }

    RefuseProblems(values, bAllowMissing, result);
    if (!result.m_refusals.empty())
        return result;

    PendingFile pending;
    if (!pending.Write(result.m_strFullPath, ComposeSetFileText(values), result.m_strFailure))
        return result;
    if (pending.Path().size() >= MAX_PATH) {
        result.m_strFailure =
            "the path of the file written beside the output is too long for the set-file reader";
        return result;
    }
    const std::string strDifferences = ReadBackDifferences(pending.Path(), values);
    if (!strDifferences.empty()) {
        result.m_strFailure = "the written file does not read back as meant: " + strDifferences;
        return result;
    }
    if (!pending.Commit(result.m_strFailure))
        return result;
    result.m_bWritten = true;
    WarnAboutOtherSetFiles(result.m_strFullPath, result);
    return result;
}
