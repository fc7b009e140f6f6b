#include "ValueAdvice.h"

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

// Upvane takes a weblink that begins with "http://" or "https://" as it is and puts "http://"
// in front of any other. A scheme it does not take as such, or a second one after the first,
// ends up inside the address it composes.
void AddWebLinkSchemeAdvice(const CString& strPlain, std::vector<std::string>& advice)
{
    CString strLower(strPlain);
    strLower.MakeLower();
    const WebScheme scheme = WebSchemeOf(strPlain);
    const int nAfterScheme = scheme == WebScheme::None ? 0 : strLower.Find("://") + 3;
    const bool bOtherScheme = SchemeAt(strLower, nAfterScheme);
    const bool bMisspelt = scheme == WebScheme::None
                           && (strLower.Find("http:") == 0 || strLower.Find("https:") == 0
                               || strLower.Find("http//") == 0 || strLower.Find("https//") == 0);
    if (!bOtherScheme && !bMisspelt)
        return;
    const std::string strAddress(ComposeSiteAddress(strPlain).GetString());
    if (scheme != WebScheme::None)
        advice.push_back("the web address holds a second scheme after its first; Upvane opens \"" + strAddress
                         + "\"");
    else
        advice.push_back("the web address has a scheme other than \"http://\" or \"https://\"; Upvane puts \""
                         + std::string(kSchemeHttp) + "\" in front of it and opens \"" + strAddress + "\"");
}

} // namespace

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
        if (!strPlain.IsEmpty() && strPlain.GetAt(strPlain.GetLength() - 1) == '/')
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
