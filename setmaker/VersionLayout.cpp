#include "VersionLayout.h"

#include "DisplayText.h"
#include "VersionCheck.h"

std::vector<std::string> VersionWordWarnings(const CString& strText)
{
    std::vector<std::string> warnings;
    CString strLower(strText);
    strLower.MakeLower();
    const int nVersion = strLower.Find(kVersionWord);
    const int nBuild = strLower.Find(kBuildWord);

    if (nVersion < 0) {
        warnings.push_back("has no word \"version\": the version part is cut from the start of the text");
    } else if (nVersion != kVersionWordPosition) {
        std::string strWarning;
        const int nOff = nVersion - kVersionWordPosition;
        AppendFormat(
            strWarning,
            "has the word \"version\" at position %d, not %d: the version part is cut %d character%s too %s",
            nVersion, kVersionWordPosition, nOff > 0 ? nOff : -nOff, (nOff == 1 || nOff == -1) ? "" : "s",
            nOff > 0 ? "long" : "short");
        warnings.push_back(strWarning);
    }

    if (nBuild < 0)
        warnings.push_back(
            "has no word \"build\": its version part is empty and its build part is the whole text");
    else if (nVersion >= 0 && nBuild < nVersion)
        warnings.push_back("has the word \"build\" before the word \"version\"");

    const int nCr = strText.Find('\r');
    const int nLf = strText.Find('\n');
    const int nBreak = (nCr < 0 || (nLf >= 0 && nLf < nCr)) ? nLf : nCr;
    if (nBreak >= 0) {
        std::string strWarning;
        AppendFormat(strWarning,
                     "has a line break at position %d: the cut runs across it and takes the next line's text "
                     "into the parts",
                     nBreak);
        warnings.push_back(strWarning);
    }
    return warnings;
}

std::vector<std::string> VersionLengthWarnings(const CString& strText)
{
    std::vector<std::string> warnings;
    const int nLimit = strText.Find(kLongFormMark) == 0 ? kLongExaminedLength : kExaminedLength;
    if (strText.GetLength() > nLimit) {
        std::string strWarning;
        AppendFormat(strWarning,
                     "is %d characters long: of a version document only the first %d are examined "
                     "(%d when it begins with \"%s\"), so %s would be cut off",
                     strText.GetLength(), kExaminedLength, kLongExaminedLength, kLongFormMark,
                     QuotedText(strText.Mid(nLimit)).c_str());
        warnings.push_back(strWarning);
    }
    return warnings;
}

std::vector<std::string> VersionLayoutWarnings(const CString& strText)
{
    std::vector<std::string> warnings = VersionWordWarnings(strText);
    for (std::string& strWarning : VersionLengthWarnings(strText))
        warnings.push_back(std::move(strWarning));
    return warnings;
}

CString DocumentFirstLine(const char* pReceived, int nReceived)
{
    int nLength = 0;
    while (pReceived && nLength < nReceived && pReceived[nLength] != '\0' && pReceived[nLength] != '\r'
           && pReceived[nLength] != '\n')
        ++nLength;
    CString strLine(pReceived, nLength);
    strLine.TrimRight();
    return strLine;
}
