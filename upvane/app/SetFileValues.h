// The set file's section and keys as Upvane reads them, and the texts and addresses composed
// from their descrambled values.
#pragma once

#include "CString.h"

inline constexpr char kSetFileSection[] = "information";
inline constexpr char kSetFileMask[] = "*.set";

// The keys in the order the dialog reads them.
enum SetFileKey {
    keyTitle,
    keyInfo,
    keyInstalled,
    keySite,
    keyWebLink,
    keyMailText,
    keyWebMail,
    keyWizFile,
    keyUpdateFileName,
    keyCount
};

inline constexpr const char* kSetFileKeys[keyCount] = {
    "title", "info", "installed", "site", "weblink", "mailtext", "webmail", "wizfile", "updatefilename",
};

// Search pattern for the set file: the executable's folder (up to and including its last
// backslash), another backslash and "*.set". The doubled separator is accepted by the file search.
CString ComposeSetFilePattern(const CString& strExePath);

// "Installed  Version:  " followed by the installed text.
CString ComposeInstalledLine(const CString& strInstalled);

// Link targets: the site address, "mailto:" + webmail, and the vendor's what's-new document.
// The site address is "http://" + weblink, or the weblink as it is when it begins with
// "http://" or "https://" in any letter case; without the weblink's user information
// ("user:password@"), which only the check uses: addresses handed to the shell, the
// clipboard or a shortcut carry no credentials.
CString ComposeSiteAddress(const CString& strWebLink);
CString ComposeMailAddress(const CString& strWebMail);
CString ComposeWhatsNewAddress();

// The weblink's address + "/" + file name, joined as they are: a weblink that ends in a slash
// gives a doubled slash, an empty file name an address that ends in the slash. The version
// document's address keeps the weblink's credentials for the check; the download address,
// handed to the shell, is made from the site address and carries none.
CString ComposeVersionDocumentAddress(const CString& strWebLink, const CString& strWizFile);
CString ComposeDownloadAddress(const CString& strWebLink, const CString& strUpdateFile);
