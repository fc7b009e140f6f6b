#include "WebAddress.h"

#include <gtest/gtest.h>

TEST(WebAddressTest, OnlyAWholeHttpOrHttpsPrefixInAnyLetterCaseIsAWebScheme)
{
    EXPECT_EQ(WebScheme::Http, WebSchemeOf("http://host"));
    EXPECT_EQ(WebScheme::Http, WebSchemeOf("HtTp://"));
    EXPECT_EQ(WebScheme::Https, WebSchemeOf("https://host/path"));
    EXPECT_EQ(WebScheme::Https, WebSchemeOf("HTTPS://HOST"));
    for (const char* pszOther : {"", "http", "http:/host", "https:host", "httpx://h", "ftp://h", " http://h",
                                 "//host", "host/http://x", "mailto:a@b"})
        EXPECT_EQ(WebScheme::None, WebSchemeOf(pszOther)) << pszOther;
    EXPECT_EQ(WebScheme::None, WebSchemeOf(nullptr));
}

TEST(WebAddressTest, TheRequestKeepsTheQueryAndLeavesTheFragmentWithTheClient)
{
    EXPECT_STREQ("/app/version.txt?lang=en", RequestObject("/app/version.txt", "?lang=en"));
    EXPECT_STREQ("/app/version.txt", RequestObject("/app/version.txt", "#notes"));
    EXPECT_STREQ("/v.txt?a=1", RequestObject("/v.txt", "?a=1#b?c=2"));
    EXPECT_STREQ("/", RequestObject("", ""));
    EXPECT_STREQ("/", RequestObject("", "#top"));
    EXPECT_STREQ("?q", RequestObject("", "?q"));
}

TEST(WebAddressTest, RedirectsAreFollowedExceptDowngradesOtherSchemesAndEndlessChains)
{
    EXPECT_EQ(RedirectVerdict::Follow, JudgeRedirect("http://a/v", "http://b/v", 0));
    EXPECT_EQ(RedirectVerdict::Follow, JudgeRedirect("http://a/v", "HTTPS://a/v", 0));
    EXPECT_EQ(RedirectVerdict::Follow, JudgeRedirect("https://a/v", "https://b/v", 0));
    EXPECT_EQ(RedirectVerdict::Downgrade, JudgeRedirect("https://a/v", "http://a/v", 0));
    EXPECT_EQ(RedirectVerdict::Downgrade, JudgeRedirect("HTTPS://a/v", "Http://a/v", 0));
    EXPECT_EQ(RedirectVerdict::NotWeb, JudgeRedirect("http://a/v", "ftp://a/v", 0));
    EXPECT_EQ(RedirectVerdict::NotWeb, JudgeRedirect("https://a/v", "file:///c:/v", 0));
    EXPECT_EQ(RedirectVerdict::Follow, JudgeRedirect("http://a/v", "http://a/w", kMaxRedirects - 1));
    EXPECT_EQ(RedirectVerdict::TooMany, JudgeRedirect("http://a/v", "http://a/w", kMaxRedirects));
    // A downgrade is named as such however many redirects came before it.
    EXPECT_EQ(RedirectVerdict::Downgrade, JudgeRedirect("https://a/v", "http://a/v", kMaxRedirects));
}

TEST(WebAddressTest, RedirectStatusesAreThoseThatNameATarget)
{
    for (unsigned long nStatus : {301ul, 302ul, 303ul, 307ul, 308ul})
        EXPECT_TRUE(IsRedirectStatus(nStatus)) << nStatus;
    for (unsigned long nStatus : {200ul, 204ul, 300ul, 304ul, 305ul, 306ul, 309ul, 401ul, 404ul})
        EXPECT_FALSE(IsRedirectStatus(nStatus)) << nStatus;
}

TEST(WebAddressTest, ARedirectTargetIsResolvedAgainstTheAnsweredAddress)
{
    const CString strFrom("http://user:pw@host:8080/app/v1/version.txt?lang=en#top");
    EXPECT_STREQ("https://other/x.txt", ResolveRedirect(strFrom, "https://other/x.txt"));
    EXPECT_STREQ("HTTP://other", ResolveRedirect(strFrom, "HTTP://other"));
    EXPECT_STREQ("ftp://other/x", ResolveRedirect(strFrom, "ftp://other/x"));
    EXPECT_STREQ("http://mirror/v.txt", ResolveRedirect(strFrom, "//mirror/v.txt"));
    EXPECT_STREQ("http://user:pw@host:8080/moved/v.txt", ResolveRedirect(strFrom, "/moved/v.txt"));
    EXPECT_STREQ("http://user:pw@host:8080/app/v1/v2.txt", ResolveRedirect(strFrom, "v2.txt"));
    EXPECT_STREQ("http://user:pw@host:8080/app/v1/version.txt?lang=de", ResolveRedirect(strFrom, "?lang=de"));
    // An address without a path: the folder is the root.
    EXPECT_STREQ("https://host/v.txt", ResolveRedirect("https://host", "v.txt"));
    EXPECT_STREQ("https://host/v.txt", ResolveRedirect("https://host?x", "/v.txt"));
    // A colon after the first slash belongs to the path, not to a scheme.
    EXPECT_STREQ("http://h/a/sub/b:c", ResolveRedirect("http://h/a/x", "sub/b:c"));
}
