#include "VersionCheck.h"

#include "UpvaneTexts.h"

namespace {

// A server's error page, recognised in the examined text with this exact letter case.
constexpr char kMissingMark[] = "Resource not found";

CString TrimmedLeadingBytes(const char* pReceived, int nReceived, int nWanted)
{
    int nLength = 0;
    const int nLimit = nReceived < nWanted ? nReceived : nWanted;
    while (nLength < nLimit && pReceived[nLength] != '\0')
        ++nLength;
    CString strText(pReceived, nLength);
    strText.TrimRight();
    return strText;
}

CString Lowered(const CString& strText)
{
    CString strLower(strText);
    strLower.MakeLower();
    return strLower;
}

CString VersionPart(const CString& strText)
{
    const CString strLower = Lowered(strText);
    const int nBuild = strLower.Find(kBuildWord);
    CString strPart = strText.Mid(strLower.Find(kVersionWord), nBuild - kVersionWordPosition);
    strPart.TrimRight();
    return strPart;
}

// From "build" to the end; the whole text when "build" is absent. Untrimmed.
CString BuildPart(const CString& strText)
{
    const CString strLower = Lowered(strText);
    return strText.Mid(strLower.Find(kBuildWord), strLower.GetLength());
}

void ApplyRules(VersionCheckResult& r, CString& strMessage)
{
    const int cv = r.m_nVersionOrder;
    const int cb = r.m_nBuildOrder;

    if ((cv == 0 && cb == 0) || cv > 0) {
        strMessage = kMsgLatestVersion;
        r.m_download = ControlChange::Disable;
    }

    r.m_strWhatsNewText =
        kWhatsNewTextPrefix + r.m_parts.m_strAvailableVersion + r.m_parts.m_strAvailableBuild;

    if ((cv == 0 && cb != 0) || (cv < 0 && cb < 0)) {
        strMessage = kMsgUpgrade;
        r.m_download = ControlChange::Enable;
        r.m_bShowWhatsNew = true;
    }
    // cv < 0 with cb >= 0: no rule applies; the message stays empty, the controls as they are.
}

} // namespace

CString CutExaminedText(const char* pReceived, int nReceived)
{
    if (!pReceived || nReceived <= 0)
        return CString();
    CString strText = TrimmedLeadingBytes(pReceived, nReceived, kLongExaminedLength);
    if (strText.Find(kLongFormMark) != 0)
        strText = TrimmedLeadingBytes(pReceived, nReceived, kExaminedLength);
    return strText;
}

VersionParts CutVersionParts(const CString& strInstalled, const CString& strExamined)
{
    VersionParts parts;
    parts.m_strInstalledVersion = VersionPart(strInstalled);
    parts.m_strInstalledBuild = BuildPart(strInstalled);
    parts.m_strAvailableVersion = VersionPart(strExamined);
    parts.m_strAvailableBuild = BuildPart(strExamined);
    parts.m_strAvailableBuild.TrimRight();
    return parts;
}

int CompareVersionTexts(const CString& strA, const CString& strB)
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(strA.GetString());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(strB.GetString());
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return (*a > *b) - (*a < *b);
}

VersionCheckResult DecideVersionCheck(const CString& strInstalled, const CString& strInstalledLine,
                                      const char* pReceived, int nReceived)
{
    VersionCheckResult r;
    r.m_strExamined = CutExaminedText(pReceived, nReceived);
    r.m_bMissing = r.m_strExamined.Find(kMissingMark) != -1;
    r.m_parts = CutVersionParts(strInstalled, r.m_strExamined);
    r.m_nVersionOrder = CompareVersionTexts(r.m_parts.m_strInstalledVersion, r.m_parts.m_strAvailableVersion);
    r.m_nBuildOrder = CompareVersionTexts(r.m_parts.m_strInstalledBuild, r.m_parts.m_strAvailableBuild);

    CString strMessage;
    ApplyRules(r, strMessage);

    if (r.m_bMissing) {
        // The error page's text is not shown; control 1010 keeps what it had.
        r.m_strVersionDisplay = strInstalledLine + kAvailableMissingHeading + kMsgVersionNotFound;
        return r;
    }
    r.m_strVersionDisplay = strInstalledLine + kAvailableLineHeading + r.m_strExamined;
    r.m_bSetResultText = true;
    r.m_strResultText = strMessage;
    return r;
}
