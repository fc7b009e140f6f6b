#include "WebAddress.h"

#include <cctype>
#include <cstring>

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

namespace {

// An address or reference split into the five parts of RFC 3986; a part that is absent is
// told from one that is empty.
struct AddressParts
{
    bool m_bScheme = false;
    CString m_strScheme;
    bool m_bAuthority = false;
    CString m_strAuthority;
    CString m_strPath;
    bool m_bQuery = false;
    CString m_strQuery;
    bool m_bFragment = false;
    CString m_strFragment;
};

// The length of the scheme at the text's start (a letter, then letters, digits, "+", "-" or
// "." up to a ":"); 0 when it has none.
int SchemeLength(const CString& strText)
{
    for (int i = 0; i < strText.GetLength(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(strText.GetAt(i));
        if (ch == ':')
            return i;
        if (!std::isalpha(ch) && (i == 0 || (!std::isdigit(ch) && ch != '+' && ch != '-' && ch != '.')))
            return 0;
    }
    return 0;
}

// The first position from nStart of one of the characters in pszStops, or the length.
int FindAny(const CString& strText, int nStart, const char* pszStops)
{
    int i = nStart;
    while (i < strText.GetLength() && !std::strchr(pszStops, strText.GetAt(i)))
        ++i;
    return i;
}

AddressParts SplitAddress(const CString& strText)
{
    AddressParts parts;
    int i = SchemeLength(strText);
    if (i > 0) {
        parts.m_bScheme = true;
        parts.m_strScheme = strText.Left(i);
        ++i;
    }
    if (strText.Find("//", i) == i) {
        const int nEnd = FindAny(strText, i + 2, "/?#");
        parts.m_bAuthority = true;
        parts.m_strAuthority = strText.Mid(i + 2, nEnd - i - 2);
        i = nEnd;
    }
    const int nPathEnd = FindAny(strText, i, "?#");
    parts.m_strPath = strText.Mid(i, nPathEnd - i);
    i = nPathEnd;
    if (i < strText.GetLength() && strText.GetAt(i) == '?') {
        const int nEnd = FindAny(strText, i, "#");
        parts.m_bQuery = true;
        parts.m_strQuery = strText.Mid(i + 1, nEnd - i - 1);
        i = nEnd;
    }
    if (i < strText.GetLength()) {
        parts.m_bFragment = true;
        parts.m_strFragment = strText.Mid(i + 1);
    }
    return parts;
}

CString JoinAddress(const AddressParts& parts)
{
    CString strText;
    if (parts.m_bScheme)
        strText += parts.m_strScheme + ":";
    if (parts.m_bAuthority)
        strText += "//" + parts.m_strAuthority;
    strText += parts.m_strPath;
    if (parts.m_bQuery)
        strText += "?" + parts.m_strQuery;
    if (parts.m_bFragment)
        strText += "#" + parts.m_strFragment;
    return strText;
}

// RFC 3986 section 5.2.4: the path with its "." and ".." segments worked out.
CString RemoveDotSegments(CString strIn)
{
    CString strOut;
    while (!strIn.IsEmpty()) {
        if (strIn.Find("../") == 0)
            strIn = strIn.Mid(3);
        else if (strIn.Find("./") == 0 || strIn.Find("/./") == 0)
            strIn = strIn.Mid(2);
        else if (strIn == "/.")
            strIn = "/";
        else if (strIn.Find("/../") == 0 || strIn == "/..") {
            strIn = "/" + strIn.Mid(strIn == "/.." ? 3 : 4);
            strOut = strOut.Left(strOut.ReverseFind('/') < 0 ? 0 : strOut.ReverseFind('/'));
        } else if (strIn == "." || strIn == "..")
            strIn.Empty();
        else {
            const int nEnd = FindAny(strIn, 1, "/");
            strOut += strIn.Left(nEnd);
            strIn = strIn.Mid(nEnd);
        }
    }
    return strOut;
}

// RFC 3986 section 5.2.3: a relative path joined to the base's folder.
CString MergePaths(const AddressParts& base, const CString& strPath)
{
    if (base.m_bAuthority && base.m_strPath.IsEmpty())
        return "/" + strPath;
    return base.m_strPath.Left(base.m_strPath.ReverseFind('/') + 1) + strPath;
}

unsigned EffectivePort(const WebOrigin& origin)
{
    if (origin.m_nPort != 0)
        return origin.m_nPort;
    return origin.m_scheme == WebScheme::Https ? 443 : 80;
}

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

} // namespace

CString ResolveRedirect(const CString& strFrom, const CString& strLocation)
{
    const AddressParts base = SplitAddress(strFrom);
    const AddressParts ref = SplitAddress(strLocation);
    AddressParts target = ref;
    if (!ref.m_bScheme) {
        target.m_bScheme = base.m_bScheme;
        target.m_strScheme = base.m_strScheme;
        if (!ref.m_bAuthority) {
            target.m_bAuthority = base.m_bAuthority;
            target.m_strAuthority = base.m_strAuthority;
            if (ref.m_strPath.IsEmpty()) {
                target.m_strPath = base.m_strPath;
                if (!ref.m_bQuery) {
                    target.m_bQuery = base.m_bQuery;
                    target.m_strQuery = base.m_strQuery;
                }
            } else if (ref.m_strPath.GetAt(0) != '/') {
                target.m_strPath = MergePaths(base, ref.m_strPath);
            }
        }
    }
    target.m_strPath = RemoveDotSegments(target.m_strPath);
    return JoinAddress(target);
}

bool SameOrigin(const WebOrigin& a, const WebOrigin& b)
{
    if (a.m_scheme == WebScheme::None || a.m_scheme != b.m_scheme || EffectivePort(a) != EffectivePort(b))
        return false;
    CString strHostA = a.m_strHost;
    CString strHostB = b.m_strHost;
    strHostA.MakeLower();
    strHostB.MakeLower();
    return strHostA == strHostB;
}

CString PercentDecoded(const CString& strText)
{
    CString strDecoded;
    for (int i = 0; i < strText.GetLength(); ++i) {
        const char ch = strText.GetAt(i);
        const int nHigh = ch == '%' && i + 2 < strText.GetLength() ? HexValue(strText.GetAt(i + 1)) : -1;
        const int nLow = nHigh < 0 ? -1 : HexValue(strText.GetAt(i + 2));
        if (nLow < 0 || (nHigh == 0 && nLow == 0)) {
            strDecoded += ch;
            continue;
        }
        strDecoded += static_cast<char>(nHigh * 16 + nLow);
        i += 2;
    }
    return strDecoded;
}

CString WithoutUserInfo(const CString& strAddress)
{
    const int nScheme = SchemeLength(strAddress);
    if (nScheme == 0 || strAddress.Find("//", nScheme + 1) != nScheme + 1)
        return strAddress;
    // The user information ends at the last "@" before the first "/": a password written
    // with a raw "#" or "?" ("user:pa#ss@host") would otherwise end the authority early and
    // stay in the address, and a client that splits it the other way sends it on.
    const int nAuthority = nScheme + 3;
    const CString strAuthority =
        strAddress.Mid(nAuthority, FindAny(strAddress, nAuthority, "/") - nAuthority);
    const int nAt = strAuthority.ReverseFind('@');
    if (nAt < 0)
        return strAddress;
    return strAddress.Left(nAuthority) + strAddress.Mid(nAuthority + nAt + 1);
}

CString WithoutFragment(const CString& strAddress)
{
    const int nFragment = strAddress.Find('#');
    return nFragment < 0 ? strAddress : strAddress.Left(nFragment);
}

bool IsRedirectStatus(unsigned long nStatus)
{
    return nStatus == 301 || nStatus == 302 || nStatus == 303 || nStatus == 307 || nStatus == 308;
}
