#include "WebAddress.h"

#include <cctype>

namespace {

constexpr char kHttpPrefix[] = "http://";
constexpr char kHttpsPrefix[] = "https://";

bool StartsWithNoCase(const char* pszText, const char* pszPrefix)
{
    for (; *pszPrefix; ++pszText, ++pszPrefix) {
        if (std::tolower(static_cast<unsigned char>(*pszText))
            != std::tolower(static_cast<unsigned char>(*pszPrefix)))
            return false;
    }
    return true;
}

} // namespace

WebScheme WebSchemeOf(const char* pszAddress)
{
    if (!pszAddress)
        return WebScheme::None;
    if (StartsWithNoCase(pszAddress, kHttpPrefix))
        return WebScheme::Http;
    if (StartsWithNoCase(pszAddress, kHttpsPrefix))
        return WebScheme::Https;
    return WebScheme::None;
}

CString RequestObject(const CString& strPath, const CString& strExtra)
{
    CString strObject = strPath;
    const int nFragment = strExtra.Find('#');
    strObject += nFragment < 0 ? strExtra : strExtra.Left(nFragment);
    if (strObject.IsEmpty())
        strObject = "/";
    return strObject;
}

RedirectVerdict JudgeRedirect(const char* pszFrom, const char* pszTo, int nFollowed)
{
    const WebScheme to = WebSchemeOf(pszTo);
    if (to == WebScheme::None)
        return RedirectVerdict::NotWeb;
    if (WebSchemeOf(pszFrom) == WebScheme::Https && to == WebScheme::Http)
        return RedirectVerdict::Downgrade;
    if (nFollowed >= kMaxRedirects)
        return RedirectVerdict::TooMany;
    return RedirectVerdict::Follow;
}

CString ResolveRedirect(const CString& strFrom, const CString& strLocation)
{
    // A scheme: letters, digits, "+", "-" or "." before the first ":", ahead of any "/?#".
    for (int i = 0; i < strLocation.GetLength(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(strLocation.GetAt(i));
        if (ch == ':' && i > 0)
            return strLocation;
        if (!std::isalnum(ch) && ch != '+' && ch != '-' && ch != '.')
            break;
    }
    const int nSchemeEnd = strFrom.Find("://");
    if (nSchemeEnd < 0)
        return strLocation;
    if (strLocation.Find("//") == 0)
        return strFrom.Left(nSchemeEnd + 1) + strLocation;
    // The answered address's authority ends at its first "/", "?" or "#".
    const int nAuthority = nSchemeEnd + 3;
    int nPath = nAuthority;
    while (nPath < strFrom.GetLength() && strFrom.GetAt(nPath) != '/' && strFrom.GetAt(nPath) != '?'
           && strFrom.GetAt(nPath) != '#')
        ++nPath;
    if (strLocation.Find('/') == 0)
        return strFrom.Left(nPath) + strLocation;
    int nPathEnd = nPath;
    while (nPathEnd < strFrom.GetLength() && strFrom.GetAt(nPathEnd) != '?' && strFrom.GetAt(nPathEnd) != '#')
        ++nPathEnd;
    const CString strPath = strFrom.Mid(nPath, nPathEnd - nPath);
    const CString strFolder = strPath.Left(strPath.ReverseFind('/') + 1);
    if (strLocation.Find('?') == 0)
        return strFrom.Left(nPathEnd) + strLocation;
    return strFrom.Left(nPath) + (strFolder.IsEmpty() ? CString("/") : strFolder) + strLocation;
}

bool IsRedirectStatus(unsigned long nStatus)
{
    return nStatus == 301 || nStatus == 302 || nStatus == 303 || nStatus == 307 || nStatus == 308;
}
