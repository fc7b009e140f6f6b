#include "SetFileValues.h"

#include "UpvaneTexts.h"
#include "WebAddress.h"

namespace {

// The weblink as an address: as it is when it begins with a web scheme, else after "http://".
CString ComposeWebLinkAddress(const CString& strWebLink)
{
    if (WebSchemeOf(strWebLink) != WebScheme::None)
        return strWebLink;
    return kSchemeHttp + strWebLink;
}

} // namespace

CString ComposeSetFilePattern(const CString& strExePath)
{
    const CString strFolder = strExePath.Left(strExePath.ReverseFind('\\') + 1);
    return strFolder + "\\" + kSetFileMask;
}

CString ComposeInstalledLine(const CString& strInstalled)
{
    return kInstalledLinePrefix + strInstalled;
}

CString ComposeSiteAddress(const CString& strWebLink)
{
    return WithoutUserInfo(ComposeWebLinkAddress(strWebLink));
}

CString ComposeMailAddress(const CString& strWebMail)
{
    return kSchemeMailto + strWebMail;
}

CString ComposeWhatsNewAddress()
{
    return CString(kSchemeHttp) + kVendorHost + kWhatsNewPath;
}

CString ComposeVersionDocumentAddress(const CString& strWebLink, const CString& strWizFile)
{
    return ComposeWebLinkAddress(strWebLink) + "/" + strWizFile;
}

CString ComposeDownloadAddress(const CString& strWebLink, const CString& strUpdateFile)
{
    return ComposeSiteAddress(strWebLink) + "/" + strUpdateFile;
}
