// The refusal rules against the profile reader itself (Wine's under Wine, the stand-in
// natively, and the reads from the file's own bytes): a value is accepted exactly when its
// scrambled form, written as the tool writes it, reads back unchanged and it holds no NUL byte.
#include "CIniFile.h"
#include "Descramble.h"
#include "DisplayText.h"
#include "ValueRules.h"
#include "setmaker_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Writes each stored value under its own key, as the tool writes it, and reads them all back
// through the set-file reader on the given road, as Upvane reads a value. Every look-up reads
// its file: a few dozen keys to a file.
std::vector<CString> ReadBack(const TempDir& dir, const std::string& strName,
                              const std::vector<CString>& stored,
                              const ProfileReader& road = SystemProfileReader())
{
    constexpr size_t kKeysPerFile = 32;
    std::vector<CString> read;
    for (size_t nFirst = 0; nFirst < stored.size(); nFirst += kKeysPerFile) {
        const size_t nEnd = std::min(stored.size(), nFirst + kKeysPerFile);
        std::string strText = "[information]\r\n";
        for (size_t i = nFirst; i < nEnd; ++i)
            strText += "k" + std::to_string(i) + "=" + WrittenStoredValue(stored[i]) + "\r\n";
        CIniFile ini(road);
        EXPECT_TRUE(ini.Open(dir.Write(strName + "-" + std::to_string(nFirst) + ".set", strText).c_str()));
        for (size_t i = nFirst; i < nEnd; ++i)
            read.emplace_back(ini.GetValue("information", ("k" + std::to_string(i)).c_str(), "<none>"));
    }
    return read;
}

// The stored form of the value under test: byte b at nPosition, and a filler that can be
// stored everywhere else: 'x', but 'y' where 'x' would be the scrambled form of a plain NUL.
CString StoredWithByteAt(int nLength, int nPosition, int b)
{
    CString strStored('x', nLength);
    for (int i = 0; i < nLength; ++i) {
        if ((i & 0xFF) == ('x' ^ kScrambleKey))
            strStored.SetAt(i, 'y');
    }
    strStored.SetAt(nPosition, static_cast<char>(b));
    return strStored;
}

bool IsLineBreaking(int b)
{
    return b == 0 || b == '\r' || b == '\n';
}

void ExpectRulesAgree(const CString& strStored, const CString& strRead, int nPosition)
{
    const CString strPlain = ToggleScrambling(strStored);
    const std::vector<ValueProblem> problems = FindValueProblems(strPlain);
    bool bPlainNul = false;
    for (int i = 0; i < strPlain.GetLength(); ++i)
        bPlainNul = bPlainNul || strPlain.GetAt(i) == '\0';
    const bool bReadsBack = strRead == strStored;
    EXPECT_EQ(bReadsBack && !bPlainNul, problems.empty())
        << "stored " << QuotedText(strStored) << " reads back as " << QuotedText(strRead);
    if (!problems.empty() && nPosition >= 0) {
        EXPECT_EQ(nPosition, problems[0].m_nPosition) << QuotedText(strStored);
    }
}

} // namespace

TEST(ValueRulesTest, AcceptExactlyWhatTheReaderGivesBackForEveryByteAtManyPlaces)
{
    // First, last, and inside; positions above 127, where plain ASCII scrambles to control
    // bytes; 135, where a blank scrambles to NUL; 256 and 300, where the index wraps.
    const int kPositions[] = {0, 1, 2, 64, 127, 128, 135, 173, 200, 255, 256, 300};
    for (const ProfileReader* road : {&SystemProfileReader(), &FileBytesProfileReader()}) {
        SCOPED_TRACE(road == &SystemProfileReader() ? "system's profile functions" : "file's bytes");
        TempDir dir;
        for (const int nPosition : kPositions) {
            for (const int nLength : {nPosition + 1, nPosition + 2}) {
                std::vector<CString> stored;
                for (int b = 0; b < 256; ++b) {
                    if (!IsLineBreaking(b))
                        stored.push_back(StoredWithByteAt(nLength, nPosition, b));
                }
                const std::string strName = std::to_string(nPosition) + "-" + std::to_string(nLength);
                const std::vector<CString> read = ReadBack(dir, "p" + strName, stored, *road);
                for (size_t i = 0; i < stored.size(); ++i)
                    ExpectRulesAgree(stored[i], read[i], nPosition);
                // A byte that ends the line goes into a file of its own: it spoils what follows it.
                for (const int b : {0, int{'\r'}, int{'\n'}}) {
                    const CString strStored = StoredWithByteAt(nLength, nPosition, b);
                    const CString strRead =
                        ReadBack(dir, "b" + strName + "-" + std::to_string(b), {strStored}, *road)[0];
                    ExpectRulesAgree(strStored, strRead, nPosition);
                }
            }
        }
        // A value of one byte: at once first and last.
        std::vector<CString> single;
        for (int b = 1; b < 256; ++b)
            single.push_back(CString(static_cast<char>(b), 1));
        const std::vector<CString> read = ReadBack(dir, "single", single, *road);
        for (size_t i = 0; i < single.size(); ++i)
            ExpectRulesAgree(single[i], read[i], 0);
    }
}

TEST(ValueRulesTest, QuotesAroundTheValueAreKeptByOneMorePair)
{
    TempDir dir;
    const std::vector<CString> stored = {"\"x\"", "'xyz'", "\"\"",   "''",     "\"x'", "'x\"",
                                         "\"",    "'",     "\"x\"y", "x\"y\"", "\"x",  "x\""};
    const std::vector<CString> read = ReadBack(dir, "quotes", stored);
    for (size_t i = 0; i < stored.size(); ++i)
        ExpectRulesAgree(stored[i], read[i], -1);

    EXPECT_TRUE(FindValueProblems(ToggleScrambling("'xyz'")).empty());
    EXPECT_EQ("\"'xyz'\"", WrittenStoredValue("'xyz'"));
    EXPECT_EQ("\"\"\"\"", WrittenStoredValue("\"\""));
    // Only a pair around the whole value is stripped; anything else is written as it is.
    EXPECT_EQ("\"x'", WrittenStoredValue("\"x'"));
    EXPECT_EQ("\"x\"y", WrittenStoredValue("\"x\"y"));
    EXPECT_EQ("\"", WrittenStoredValue("\""));
}

TEST(ValueRulesTest, TrimmedEndsAndTheQuotesInsideThemAreKeptByOneMorePair)
{
    // Stored: blank, tab, "x", Ctrl-Z: both ends would be trimmed, and then the quotes stripped.
    const CString strStored(" \t\"x\"\x1A");
    EXPECT_TRUE(FindValueProblems(ToggleScrambling(strStored)).empty());
    EXPECT_EQ("\" \t\"x\"\x1A\"", WrittenStoredValue(strStored));
    EXPECT_EQ("\"\fx\"", WrittenStoredValue("\fx"));
    EXPECT_EQ("\"x\v\"", WrittenStoredValue("x\v"));
    EXPECT_EQ("x y", WrittenStoredValue("x y"));
    EXPECT_EQ("", WrittenStoredValue(""));
    TempDir dir;
    EXPECT_EQ(strStored, ReadBack(dir, "ends", {strStored})[0]);
}

TEST(ValueRulesTest, APlainNulIsRefusedThoughItsScrambledFormReadsBack)
{
    const CString strPlain("ab\0cd", 5);
    const std::vector<ValueProblem> problems = FindValueProblems(strPlain);
    ASSERT_EQ(1u, problems.size());
    EXPECT_EQ(ValueProblemKind::PlainNul, problems[0].m_kind);
    EXPECT_EQ(2, problems[0].m_nPosition);
    EXPECT_TRUE(Contains(DescribeValueProblem(strPlain, problems[0]), "NUL byte at position 2"));
}

TEST(ValueRulesTest, DescriptionsNameTheCharacterItsPositionAndWhatTheReaderDoes)
{
    // A blank at position 135 scrambles to NUL (0x20 ^ 0x87 ^ 0xA7 = 0).
    CString strPlain('a', 140);
    strPlain.SetAt(135, ' ');
    const std::vector<ValueProblem> problems = FindValueProblems(strPlain);
    ASSERT_EQ(1u, problems.size());
    const std::string strText = DescribeValueProblem(strPlain, problems[0]);
    EXPECT_TRUE(Contains(strText, "position 135, ' ' (0x20), scrambles to a NUL byte")) << strText;

    // An 'e' with acute accent (0xE9) at position 68 scrambles to LF.
    CString strAccent('a', 70);
    strAccent.SetAt(68, '\xE9');
    const std::vector<ValueProblem> breaks = FindValueProblems(strAccent);
    ASSERT_EQ(1u, breaks.size());
    EXPECT_EQ(ValueProblemKind::ScrambledLineBreak, breaks[0].m_kind);
    EXPECT_TRUE(Contains(DescribeValueProblem(strAccent, breaks[0]),
                         "'\\xE9' (0xE9), scrambles to a line break (0x0A)"));
}
