#include "ValueAdvice.h"

#include <cctype>
#include <cstring>

#include "SetFileValues.h"
#include "UpvaneTexts.h"
#include "VersionLayout.h"
#include "WebAddress.h"

namespace {

// True when the text from nStart begins with a scheme: "://" before any "/", "?" or "#".
bool SchemeAt(const CString& strText, int nStart)
{
    const int nMark = strText.Find("://", nStart);
    if (nMark < 0)
        return false;
    for (int i = nStart; i < nMark; ++i) {
        const char ch = strText.GetAt(i);
        if (ch == '/' || ch == '?' || ch == '#')
            return false;
    }
    return true;
}

// True when the weblink's scheme is not what Upvane takes it for: a scheme other than
// "http://" or "https://", a misspelt one, or a second scheme after the first.
bool HasSchemeUpvaneDoesNotTake(const CString& strPlain)
{
    CString strLower(strPlain);
    strLower.MakeLower();
    const WebScheme scheme = WebSchemeOf(strPlain);
    const int nAfterScheme = scheme == WebScheme::None ? 0 : strLower.Find("://") + 3;
    const bool bMisspelt = scheme == WebScheme::None
                           && (strLower.Find("http:") == 0 || strLower.Find("https:") == 0
                               || strLower.Find("http//") == 0 || strLower.Find("https//") == 0);
    return bMisspelt || SchemeAt(strLower, nAfterScheme);
}

// Upvane takes a weblink that begins with "http://" or "https://" as it is and puts "http://"
// in front of any other. A scheme it does not take as such, or a second one after the first,
// ends up inside the address it composes.
void AddWebLinkSchemeAdvice(const CString& strPlain, std::vector<std::string>& advice)
{
    if (!HasSchemeUpvaneDoesNotTake(strPlain))
        return;
    const std::string strAddress(ComposeSiteAddress(strPlain).GetString());
    if (WebSchemeOf(strPlain) != WebScheme::None)
        advice.push_back("the web address holds a second scheme after its first; Upvane opens \"" + strAddress
                         + "\"");
    else
        advice.push_back("the web address has a scheme other than \"http://\" or \"https://\"; Upvane puts \""
                         + std::string(kSchemeHttp) + "\" in front of it and opens \"" + strAddress + "\"");
}

// The weblink's authority as Upvane's request sees it: what follows the scheme Upvane uses,
// up to the first "/", "?" or "#".
CString WebLinkAuthority(const CString& strPlain)
{
    const CString strAddress = ComposeVersionDocumentAddress(strPlain, "");
    const int nStart = strAddress.Find("://") + 3;
    int nEnd = nStart;
    while (nEnd < strAddress.GetLength() && !std::strchr("/?#", strAddress.GetAt(nEnd)))
        ++nEnd;
    return strAddress.Mid(nStart, nEnd - nStart);
}

// A port must be a number from 1 to 65535; an empty one or a blank is no port.
bool IsPortNumber(const CString& strPort)
{
    if (strPort.IsEmpty() || strPort.GetLength() > 5)
        return false;
    long nPort = 0;
    for (int i = 0; i < strPort.GetLength(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(strPort.GetAt(i))))
            return false;
        nPort = nPort * 10 + (strPort.GetAt(i) - '0');
    }
    return nPort >= 1 && nPort <= 65535;
}

void AddWebLinkRefusals(const CString& strPlain, std::vector<std::string>& refusals)
{
    const CString strAuthority = WebLinkAuthority(strPlain);
    const int nAt = strAuthority.Find('@');
    if (nAt >= 0 && strAuthority.Find('@', nAt + 1) >= 0)
        refusals.push_back(
            "the web address's credentials hold a raw \"@\", which sends the request to another "
            "host; write \"%40\" for it (\"%3A\" for \":\" in the user name)");
    const CString strHostPort = strAuthority.Mid(strAuthority.ReverseFind('@') + 1);
    const int nBracket = strHostPort.ReverseFind(']');
    const int nColon = strHostPort.Find(':', nBracket < 0 ? 0 : nBracket);
    const CString strHost = nColon < 0 ? strHostPort : strHostPort.Left(nColon);
    if (strHost.IsEmpty())
        refusals.push_back("the web address names no host; Upvane cannot request \""
                           + std::string(ComposeVersionDocumentAddress(strPlain, "").GetString()) + "\"");
    else if (nColon >= 0 && !IsPortNumber(strHostPort.Mid(nColon + 1)))
        refusals.push_back("the web address's port \"" + std::string(strHostPort.Mid(nColon + 1).GetString())
                           + "\" is not a number from 1 to 65535");
    if (strPlain.Find('#') >= 0)
        refusals.push_back(
            "the web address holds \"#\": the file names would go into the fragment, never sent; "
            "Upvane would request \""
            + std::string(WithoutFragment(ComposeVersionDocumentAddress(strPlain, "")).GetString())
            + "\" for every file");
}

void AddWebLinkRiskAdvice(const CString& strPlain, std::vector<std::string>& advice)
{
    const CString strAuthority = WebLinkAuthority(strPlain);
    if (strAuthority.Find('@') >= 0
        && WebSchemeOf(ComposeVersionDocumentAddress(strPlain, "")) == WebScheme::Http)
        advice.push_back("the web address carries credentials over plain http, where anyone on the way can "
                         "read them; use \"https://\"");
    const int nQuery = strPlain.Find('?');
    if (nQuery >= 0 && strPlain.Find('#') < 0)
        advice.push_back("the web address holds \"?\": each file name follows it in the query, so Upvane "
                         "requests \""
                         + std::string(ComposeVersionDocumentAddress(strPlain, "version.txt").GetString())
                         + "\" for a wizfile \"version.txt\"");
}

} // namespace

std::vector<std::string> RefusalsForValue(int nKey, const CString& strPlain)
{
    std::vector<std::string> refusals;
    // A scheme Upvane does not take as such is advised on its own (see AddWebLinkSchemeAdvice).
    if (nKey == keyWebLink && !strPlain.IsEmpty() && !HasSchemeUpvaneDoesNotTake(strPlain))
        AddWebLinkRefusals(strPlain, refusals);
    return refusals;
}

std::vector<std::string> AdviceForValue(int nKey, const CString& strPlain)
{
    std::vector<std::string> advice;
    switch (nKey) {
    case keyInstalled:
        for (const std::string& strWarning : VersionLayoutWarnings(strPlain))
            advice.push_back("the installed text " + strWarning);
        break;
    case keyWebLink:
        AddWebLinkSchemeAdvice(strPlain, advice);
        AddWebLinkRiskAdvice(strPlain, advice);
        // Without a host the address is refused; a doubled slash is then beside the point.
        if (!strPlain.IsEmpty() && strPlain.GetAt(strPlain.GetLength() - 1) == '/'
            && RefusalsForValue(nKey, strPlain).empty())
            advice.push_back("the web address ends in \"/\"; Upvane adds one before each file name, "
                             "giving a doubled slash");
        break;
    case keyWebMail:
        if (strPlain.Find(kSchemeMailto) == 0)
            advice.push_back(std::string("the mail address begins with \"") + kSchemeMailto
                             + "\"; Upvane puts it in front itself");
        break;
    case keyWizFile:
    case keyUpdateFileName:
        if (!strPlain.IsEmpty() && strPlain.GetAt(0) == '/')
            advice.push_back(
                "the file name begins with \"/\"; Upvane puts one between the web address and it, "
                "giving a doubled slash");
        break;
    default:
        break;
    }
    return advice;
}
