// Making set files: every value that can be stored comes back through Upvane's way of reading;
// refused and failed runs write nothing and leave an existing file as it was.
#include "Descramble.h"
#include "DisplayText.h"
#include "SetFileMaker.h"
#include "ValueAdvice.h"
#include "ValueRules.h"
#include "compat.h"
#include "setmaker_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char kOldBytes[] = "; the vendor's previous set file\r\n[information]\r\ntitle=\xF3\xD5\r\n";

struct RefusalCase
{
    const char* name;
    int nKey;
    CString strPlain;
    int nPosition;        // the position the refusal names
    const char* pszWords; // what the refusal says the reader would do
};

// Plain values whose scrambled form carries the named byte.
CString PlainFor(const CString& strStored)
{
    return ToggleScrambling(strStored);
}

} // namespace

TEST(MakeSetFileTest, ValuesOfEveryByteComeBackAsUpvaneReadsThem)
{
#ifdef _WIN32
    // Started for a code page (QS_EXPECT_ACP, by ctest under that locale): it must be in force.
    if (const char* pszCodePage = std::getenv("QS_EXPECT_ACP")) {
        ASSERT_EQ(static_cast<UINT>(std::atoi(pszCodePage)), GetACP());
    }
#endif
    TempDir dir;
    // Bytes 1 to 255 in order can all be stored; the other keys take turned-around orders of
    // the same bytes, as far as the rules let them.
    CString strAllBytes;
    for (int b = 1; b < 256; ++b)
        strAllBytes += static_cast<char>(b);
    ASSERT_TRUE(FindValueProblems(strAllBytes).empty());

    // The weblink leaves out "#", which is refused for what it makes of Upvane's addresses.
    CString strWebLinkBytes;
    for (int i = 0; i < strAllBytes.GetLength(); ++i)
        if (strAllBytes.GetAt(i) != '#')
            strWebLinkBytes += strAllBytes.GetAt(i);
    ASSERT_TRUE(FindValueProblems(strWebLinkBytes).empty());

    SetFileValueSet values;
    int nStored = 0;
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        const CString& strBytes = nKey == keyWebLink ? strWebLinkBytes : strAllBytes;
        const CString strTurned = strBytes.Mid(nKey * 29) + strBytes.Left(nKey * 29);
        values[nKey] = FindValueProblems(strTurned).empty() ? strTurned : strBytes;
        nStored += *values[nKey] == strTurned ? 1 : 0;
    }
    EXPECT_GE(nStored, 5);
    // A value longer than the reader's first 1024-byte buffer: stored as 'x', with 'y' where
    // 'x' would stand for a plain NUL.
    CString strLong('x', 3000);
    for (int i = 0xDF; i < strLong.GetLength(); i += 256)
        strLong.SetAt(i, 'y');
    values[keyInfo] = ToggleScrambling(strLong);

    const MakeResult result = MakeSetFile(dir.PathOf("all.set"), values, false);
    ASSERT_TRUE(result.m_bWritten) << result.m_strFailure
                                   << (result.m_refusals.empty() ? "" : result.m_refusals[0]);
    const SetFileReading reading = ReadSetFileAsUpvane(dir.PathOf("all.set"));
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        ASSERT_TRUE(reading.m_values[nKey].has_value()) << kSetFileKeys[nKey];
        EXPECT_EQ(*values[nKey], *reading.m_values[nKey]) << kSetFileKeys[nKey];
    }
    EXPECT_EQ(std::vector<std::string>{"all.set"}, FolderEntries(dir.Path()));
}

TEST(MakeSetFileTest, EachRefusalNamesKeyAndPositionAndLeavesTheOldFileByteForByte)
{
    const RefusalCase kCases[] = {
        {"plain NUL", keyInfo, CString("Quill\0ory", 9), 5, "NUL byte at position 5"},
        {"stored NUL", keySite, PlainFor(CString("ab\0cd", 5)), 2, "scrambles to a NUL byte"},
        {"stored CR", keyTitle, PlainFor("ab\rcd"), 2, "line break (0x0D)"},
        {"stored LF", keyMailText, PlainFor("abcd\n"), 4, "line break (0x0A)"},
    };
    for (const RefusalCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string strOld(kOldBytes);
        const std::string strPath = dir.Write("Quillory.set", strOld);
        SetFileValueSet values = DemoValues();
        values[c.nKey] = c.strPlain;

        const MakeResult result = MakeSetFile(strPath, values, false);
        EXPECT_FALSE(result.m_bWritten);
        ASSERT_EQ(1u, result.m_refusals.size());
        const std::string& strRefusal = result.m_refusals[0];
        EXPECT_TRUE(Contains(strRefusal, std::string("key ") + kSetFileKeys[c.nKey] + ": ")) << strRefusal;
        EXPECT_TRUE(Contains(strRefusal, "position " + std::to_string(c.nPosition))) << strRefusal;
        EXPECT_TRUE(Contains(strRefusal, c.pszWords)) << strRefusal;
        EXPECT_EQ(strOld, ReadWholeFile(strPath));
        EXPECT_EQ(std::vector<std::string>{"Quillory.set"}, FolderEntries(dir.Path()));
    }
}

TEST(MakeSetFileTest, ValuesWhoseEndsTheReaderWouldTrimOrUnquoteAreWrittenInOneMorePair)
{
    const struct
    {
        const char* name;
        int nKey;
        CString strStored;
    } kCases[] = {
        {"leading blank", keyWebMail, " abc"},
        {"leading tab", keyWizFile, "\tabc"},
        {"trailing Ctrl-Z", keyUpdateFileName, "abc\x1A"},
        {"trailing form feed", keyInstalled, "abc\f"},
        {"trailing vertical tab", keyTitle, "abc\v"},
        {"double quotes", keyInfo, "\"abc\""},
        {"single quotes", keySite, "'abc'"},
    };
    TempDir dir;
    SetFileValueSet values = DemoValues();
    for (const auto& c : kCases)
        values[c.nKey] = PlainFor(c.strStored);
    const std::string strPath = dir.PathOf("Quillory.set");
    const MakeResult result = MakeSetFile(strPath, values, false);
    ASSERT_TRUE(result.m_bWritten) << result.m_strFailure
                                   << (result.m_refusals.empty() ? "" : result.m_refusals[0]);
    const std::string strText = ReadWholeFile(strPath);
    const SetFileReading reading = ReadSetFileAsUpvane(strPath);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string strLine = std::string(kSetFileKeys[c.nKey]) + "=\""
                                    + std::string(c.strStored.GetString(), c.strStored.GetLength())
                                    + "\"\r\n";
        EXPECT_TRUE(Contains(strText, strLine)) << QuotedText(strText.c_str());
        ASSERT_TRUE(reading.m_values[c.nKey].has_value());
        EXPECT_EQ(*values[c.nKey], *reading.m_values[c.nKey]);
    }
}

TEST(MakeSetFileTest, MissingKeysAreRefusedUnlessAllowedAndThenLeftOut)
{
    TempDir dir;
    const std::string strPath = dir.Write("Quillory.set", kOldBytes);
    SetFileValueSet values = DemoValues();
    values[keyInfo].reset();
    values[keySite].reset();

    const MakeResult refused = MakeSetFile(strPath, values, false);
    EXPECT_FALSE(refused.m_bWritten);
    ASSERT_EQ(2u, refused.m_refusals.size());
    EXPECT_TRUE(Contains(refused.m_refusals[0], "key info: no value given"));
    EXPECT_TRUE(Contains(refused.m_refusals[1], "key site: no value given"));
    EXPECT_EQ(kOldBytes, ReadWholeFile(strPath));

    // Allowed: the old file is replaced, and the two keys are not in the new one.
    values[keyTitle] = CString();
    ASSERT_TRUE(MakeSetFile(strPath, values, true).m_bWritten);
    const SetFileReading reading = ReadSetFileAsUpvane(strPath);
    EXPECT_FALSE(reading.m_values[keyInfo].has_value());
    EXPECT_FALSE(reading.m_values[keySite].has_value());
    ASSERT_TRUE(reading.m_values[keyTitle].has_value());
    EXPECT_EQ(CString(), *reading.m_values[keyTitle]);
    EXPECT_EQ(*values[keyInstalled], *reading.m_values[keyInstalled]);
}

TEST(MakeSetFileTest, FailedMovesAndMissingFoldersLeaveNothingBehind)
{
    TempDir dir;
    // The destination is a folder: the new file cannot take its place.
    std::filesystem::create_directory(dir.PathOf("taken.set"));
    const MakeResult intoFolder = MakeSetFile(dir.PathOf("taken.set"), DemoValues(), false);
    EXPECT_FALSE(intoFolder.m_bWritten);
    EXPECT_TRUE(Contains(intoFolder.m_strFailure, "cannot move the new file")) << intoFolder.m_strFailure;
    EXPECT_EQ(std::vector<std::string>{"taken.set"}, FolderEntries(dir.Path()));

    const MakeResult noFolder = MakeSetFile(dir.PathOf("absent") + kSeparator + "x.set", DemoValues(), false);
    EXPECT_FALSE(noFolder.m_bWritten);
    EXPECT_TRUE(Contains(noFolder.m_strFailure, "cannot create a file in")) << noFolder.m_strFailure;
    EXPECT_EQ(std::vector<std::string>{"taken.set"}, FolderEntries(dir.Path()));
}

TEST(MakeSetFileTest, AdviceForValuesThatWorkOtherwiseThanMeant)
{
    TempDir dir;
    dir.Write("Other.set", "");
    SetFileValueSet values = DemoValues();
    values[keyWebLink] = CString("ftp://quillory.com/");
    values[keyWizFile] = CString("/version.txt");
    values[keyInstalled] = CString("Quillory Version 3.1 Build 5"); // "version" at 9, not 11
    values[keyWebMail] = CString("mailto:support@quillory.com");
    const MakeResult result = MakeSetFile(dir.PathOf("Quillory.set"), values, false);
    ASSERT_TRUE(result.m_bWritten);
    std::string strAll;
    for (const std::string& strWarning : result.m_warnings)
        strAll += strWarning + "\n";
    EXPECT_TRUE(Contains(strAll, "key weblink: the web address has a scheme")) << strAll;
    EXPECT_TRUE(Contains(strAll, "key weblink: the web address ends in \"/\"")) << strAll;
    EXPECT_TRUE(Contains(strAll, "key wizfile: the file name begins with \"/\"")) << strAll;
    EXPECT_TRUE(Contains(strAll, "key webmail: the mail address begins with \"mailto:\"")) << strAll;
    EXPECT_TRUE(
        Contains(strAll, "\"version\" at position 9, not 11: the version part is cut 2 characters too short"))
        << strAll;
    EXPECT_TRUE(Contains(strAll, "other set files (Other.set)")) << strAll;
}

TEST(MakeSetFileTest, WebLinksAreAdvisedWithTheAddressUpvaneOpensAndRefusedWhenTheyCannotWork)
{
    const struct
    {
        const char* weblink;
        const char* advice;  // "" for none
        const char* refusal; // "" for none
    } cases[] = {
        {"quillory.com/updates", "", ""},
        {"https://quillory.com/updates", "", ""},
        {"HTTP://quillory.com:8080/updates", "", ""},
        {"https://user:pw@quillory.com/updates", "", ""},
        {"https://us%40er:p%3Aw@[::1]:65535/u", "", ""},
        {"ftp://quillory.com",
         "has a scheme other than \"http://\" or \"https://\"; Upvane puts \"http://\" in "
         "front of it and opens \"http://ftp://quillory.com\"",
         ""},
        {"https:/quillory.com", "opens \"http://https:/quillory.com\"", ""},
        {"Http//quillory.com", "opens \"http://Http//quillory.com\"", ""},
        {" https://quillory.com", "opens \"http:// https://quillory.com\"", ""},
        {"https://http://quillory.com",
         "holds a second scheme after its first; Upvane opens "
         "\"https://http://quillory.com\"",
         ""},
        // An address further on, in the path or query, is no scheme of the weblink.
        {"quillory.com/go?to=https://other.example",
         "requests \"http://quillory.com/go?to=https://other.example/version.txt\"", ""},
        {"https://quillory.com/r/http://mirror.example", "", ""},
        // Risky: credentials in the clear, file names in the query.
        {"http://user:pw@quillory.com", "credentials over plain http", ""},
        {"https://quillory.com/get?file=", "requests \"https://quillory.com/get?file=/version.txt\"", ""},
        // Cannot work: no host, no port number, a raw "@", every file name in the fragment.
        {"https://", "", "names no host; Upvane cannot request \"https:///\""},
        {"user@/updates", "credentials over plain http", "names no host"},
        {"quillory.com:0/u", "", "port \"0\" is not a number from 1 to 65535"},
        {"quillory.com:/u", "", "port \"\" is not"},
        {"https://quillory.com:80a", "", "port \"80a\" is not"},
        {"https://user:p@ss@quillory.com/u", "", "raw \"@\""},
        {"https://quillory.com/u#x", "", "Upvane would request \"https://quillory.com/u\" for every file"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> advice = AdviceForValue(keyWebLink, c.weblink);
        const std::vector<std::string> refusals = RefusalsForValue(keyWebLink, c.weblink);
        for (const auto& [expected, given] : {std::pair(c.advice, advice), std::pair(c.refusal, refusals)}) {
            if (*expected == '\0') {
                EXPECT_TRUE(given.empty()) << c.weblink << ": " << (given.empty() ? "" : given[0]);
                continue;
            }
            ASSERT_EQ(1u, given.size()) << c.weblink;
            EXPECT_TRUE(Contains(given[0], expected)) << c.weblink << ": " << given[0];
        }
    }

    // make refuses what cannot work and writes nothing.
    TempDir dir;
    SetFileValueSet values = DemoValues();
    values[keyWebLink] = CString("https://");
    const MakeResult result = MakeSetFile(dir.PathOf("Quillory.set"), values, false);
    EXPECT_FALSE(result.m_bWritten);
    ASSERT_EQ(1u, result.m_refusals.size());
    EXPECT_TRUE(Contains(result.m_refusals[0], "key weblink: the web address names no host"));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}
