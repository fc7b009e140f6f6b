#include "ValueAdvice.h"

#include "SetFileValues.h"
#include "UpvaneTexts.h"
#include "VersionLayout.h"

std::vector<std::string> AdviceForValue(int nKey, const CString& strPlain)
{
    std::vector<std::string> advice;
    switch (nKey) {
    case keyInstalled:
        for (const std::string& strWarning : VersionLayoutWarnings(strPlain))
            advice.push_back("the installed text " + strWarning);
        break;
    case keyWebLink:
        if (strPlain.Find("://") >= 0)
            advice.push_back(std::string("the web address has a scheme; Upvane puts \"") + kSchemeHttp
                             + "\" in front of it itself");
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
            advice.push_back("the file name begins with \"/\"; Upvane puts one between the web address and it, "
                             "giving a doubled slash");
        break;
    default:
        break;
    }
    return advice;
}
