#include "CheckAnnouncement.h"

CString ComposeCheckAnnouncement(const VersionCheckResult& result, const CString& strInstalledLine)
{
    CString strText = result.m_strVersionDisplay;
    if (strText.Left(strInstalledLine.GetLength()) == strInstalledLine)
        strText = strText.Mid(strInstalledLine.GetLength());
    while (!strText.IsEmpty() && strText[0] == '\n')
        strText = strText.Mid(1);
    if (result.m_bSetResultText && !result.m_strResultText.IsEmpty())
        strText += "\n" + result.m_strResultText;
    return strText;
}
