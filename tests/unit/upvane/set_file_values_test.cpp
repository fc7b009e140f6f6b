#include "SetFileValues.h"

#include <gtest/gtest.h>

TEST(SetFileValuesTest, DownloadAndDocumentAddressesJoinValuesAsTheyAre)
{
    EXPECT_STREQ("http://www.example.com/upgrade.exe",
                 ComposeDownloadAddress("www.example.com", "upgrade.exe"));
    EXPECT_STREQ("http://www.example.com/app//upgrade.exe",
                 ComposeDownloadAddress("www.example.com/app/", "upgrade.exe"));
    EXPECT_STREQ("http://www.example.com/", ComposeDownloadAddress("www.example.com", ""));
    EXPECT_STREQ("http:///", ComposeDownloadAddress("", ""));
    EXPECT_STREQ("http://host:8080/dir/ver sion.txt",
                 ComposeVersionDocumentAddress("host:8080/dir", "ver sion.txt"));
}

TEST(SetFileValuesTest, LinkTargetsAndInstalledLine)
{
    EXPECT_STREQ("http://www.example.com", ComposeSiteAddress("www.example.com"));
    EXPECT_STREQ("http://", ComposeSiteAddress(""));
    EXPECT_STREQ("mailto:support@example.com", ComposeMailAddress("support@example.com"));
    EXPECT_STREQ("mailto:", ComposeMailAddress(""));
    EXPECT_STREQ("http://www.quillory.com/What's New.pdf", ComposeWhatsNewAddress());
    EXPECT_STREQ("Installed  Version:  Sample App Version 3.1 Build 5",
                 ComposeInstalledLine("Sample App Version 3.1 Build 5"));
    EXPECT_STREQ("Installed  Version:  ", ComposeInstalledLine(""));
}

TEST(SetFileValuesTest, AWebLinkWithAWebSchemeIsUsedAsItIsForAllThreeAddresses)
{
    const char* const withScheme[] = {"https://www.example.com/app", "HTTPS://www.example.com/app",
                                      "http://www.example.com/app", "Http://host:8443/app"};
    for (const char* pszLink : withScheme) {
        const CString strLink(pszLink);
        EXPECT_EQ(strLink, ComposeSiteAddress(strLink));
        EXPECT_EQ(strLink + "/version.txt", ComposeVersionDocumentAddress(strLink, "version.txt"));
        EXPECT_EQ(strLink + "/upgrade.exe", ComposeDownloadAddress(strLink, "upgrade.exe"));
    }
    // The weblink's credentials go with the check's request only, never to the shell.
    EXPECT_STREQ("Http://host:8443/app", ComposeSiteAddress("Http://user:pw@host:8443/app"));
    EXPECT_STREQ("http://host/app/upgrade.exe", ComposeDownloadAddress("u%40x:p@host/app", "upgrade.exe"));
    EXPECT_STREQ("https://u:p@host/app/v.txt",
                 ComposeVersionDocumentAddress("https://u:p@host/app", "v.txt"));
    // Only a whole "http://" or "https://" at the very start counts; anything else is a host.
    EXPECT_STREQ("http://https:/www.example.com", ComposeSiteAddress("https:/www.example.com"));
    EXPECT_STREQ("http://ftp://www.example.com/v.txt",
                 ComposeVersionDocumentAddress("ftp://www.example.com", "v.txt"));
    EXPECT_STREQ("http:// https://www.example.com", ComposeSiteAddress(" https://www.example.com"));
    EXPECT_STREQ("http://httpsx://host/u.exe", ComposeDownloadAddress("httpsx://host", "u.exe"));
    EXPECT_STREQ("http://https", ComposeSiteAddress("https"));
}

TEST(SetFileValuesTest, SetFilePatternIsTheExecutablesFolderWithADoubledSeparator)
{
    EXPECT_STREQ("C:\\Program Files\\Quillory\\\\*.set",
                 ComposeSetFilePattern("C:\\Program Files\\Quillory\\Upvane.exe"));
    EXPECT_STREQ("\\*.set", ComposeSetFilePattern("Upvane.exe"));
}
