#include "CString.h"

#include <gtest/gtest.h>

TEST(CStringTest, FindIsCaseSensitiveAndAnswersMinusOneWhenAbsent)
{
    const CString s("Sample App Version 3.2 Build 7");
    EXPECT_EQ(11, s.Find("Version"));
    EXPECT_EQ(-1, s.Find("version"));
    EXPECT_EQ(23, s.Find("Build"));
    EXPECT_EQ(-1, s.Find("Build", 24));
    EXPECT_EQ(0, s.Find(""));
    EXPECT_EQ(-1, CString().Find("x"));
    EXPECT_EQ(4, s.Find('l'));
    EXPECT_EQ(-1, s.Find('z'));
}

TEST(CStringTest, MidClampsNegativeStartAndCountAndCutsAtTheEnd)
{
    const CString s("abcdef");
    EXPECT_EQ(CString("abc"), s.Mid(-4, 3));
    EXPECT_EQ(CString(""), s.Mid(2, -1));
    EXPECT_EQ(CString("ef"), s.Mid(4, 100));
    EXPECT_EQ(CString(""), s.Mid(6, 2));
    EXPECT_EQ(CString(""), s.Mid(99, 2));
    EXPECT_EQ(CString("cdef"), s.Mid(2));
    EXPECT_EQ(CString("ab"), s.Left(2));
    EXPECT_EQ(CString(""), s.Left(-3));
    EXPECT_EQ(CString("abcdef"), s.Left(60));
    EXPECT_EQ(CString("ef"), s.Right(2));
}

TEST(CStringTest, TrimRightRemovesTheSixWhiteSpaceBytesOnly)
{
    CString s("v 1 \t\r\n\v\f");
    s.TrimRight();
    EXPECT_EQ(CString("v 1"), s);
    CString keep("x\xA0"); // a non-ASCII byte is not white space
    keep.TrimRight();
    EXPECT_EQ(2, keep.GetLength());
    CString all(" \t ");
    all.TrimRight();
    EXPECT_TRUE(all.IsEmpty());
}

TEST(CStringTest, MakeLowerTouchesOnlyAsciiLetters)
{
    CString s("AbZ@[`\xC4\xD6-9");
    s.MakeLower();
    EXPECT_STREQ("abz@[`\xC4\xD6-9", s);
}

TEST(CStringTest, CopiesAreIndependent)
{
    CString a("one");
    CString b = a;
    b += " two";
    b.MakeUpper();
    EXPECT_STREQ("one", a);
    EXPECT_STREQ("ONE TWO", b);
    CString c;
    c = a + "/" + b + '!';
    EXPECT_STREQ("one/ONE TWO!", c);
    EXPECT_STREQ("x:one", "x:" + a);
}

TEST(CStringTest, ComparisonIsByteOrderWithCaseSignificant)
{
    EXPECT_LT(CString("Version 3.10").Compare("Version 3.9"), 0);
    EXPECT_GT(CString("version").Compare("Version"), 0);
    EXPECT_GT(CString("\x80").Compare("z"), 0); // bytes compare unsigned
    EXPECT_EQ(0, CString("a").Compare("a"));
    EXPECT_TRUE(CString("a") != CString("b"));
}

TEST(CStringTest, BufferForWritersEndsAtTheNulOrTheGivenLength)
{
    CString s;
    char* p = s.GetBuffer(16);
    p[0] = 'h';
    p[1] = 'i';
    p[2] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(2, s.GetLength());
    EXPECT_STREQ("hi", s);

    p = s.GetBuffer(10);
    p[0] = 'a';
    p[1] = 'b';
    p[2] = 'c';
    s.ReleaseBuffer(2);
    EXPECT_STREQ("ab", s);
}

TEST(CStringTest, ConstructionFromCountedBytesKeepsThemAll)
{
    const char raw[] = {'a', '\0', 'b'};
    CString s(raw, 3);
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ('b', s[2]);
    EXPECT_TRUE(CString(raw, -1).IsEmpty());
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_EQ(CString("xxx"), CString('x', 3));
}
