#include "SetFileValues.h"

#include "UpvaneTexts.h"
#include "WebAddress.h"

namespace {

CString ComposeWebFileAddress(const CString& strWebLink, const CString& strFile)
{
    return ComposeSiteAddress(strWebLink) + "/" + strFile;
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
    if (WebSchemeOf(strWebLink) != WebScheme::None)
        return strWebLink;
    return kSchemeHttp + strWebLink;
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
    return ComposeWebFileAddress(strWebLink, strWizFile);
}

CString ComposeDownloadAddress(const CString& strWebLink, const CString& strUpdateFile)
{
    return ComposeWebFileAddress(strWebLink, strUpdateFile);
}
