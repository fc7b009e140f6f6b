// The profile reads through real files. The same tests run against the Linux stand-ins and,
// in the Windows build under Wine, against the system's own functions; on both, the reads
// from the file's own bytes (profile_reader.h) must answer the same.
#include "compat.h"
#include "profile_roads.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// One line of the file, or one case, a line.
// clang-format off
const char kSample[] =
    "pre=1\r\n"
    "[ one ]\r\n"
    "  key =  value  \r\n"
    "quoted=\"in quotes\"\r\n"
    "single='in single'\r\n"
    "half=\"open\r\n"
    "spaced=\" kept \"\r\n"
    "; comment=still read\r\n"
    "\r\n"
    "# hash=1\r\n"
    "  bare line  \r\n"
    "a=b=c\r\n"
    "empty=\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "high=\xE4\xF6\xFC\r\n"
    "tabbed\t=\tv\t\r\n"
    "[two]\r\n"
    "x=1\r\n"
    "title\r\n"
    "Title=late\r\n"
    "[ONE]\r\n"
    "extra=only here\r\n"
    "[]\r\n"
    "e=1\r\n"
    "[three] trailing text\r\n"
    "y=2\r\n"
    "[four\r\n"
    "z=3\r\n"
    "[empty section]\r\n";
// clang-format on

// The strings of a list answered with count n.
std::vector<std::string> SplitList(const std::vector<char>& buffer, DWORD n)
{
    std::vector<std::string> items;
    for (DWORD i = 0; i < n; i += static_cast<DWORD>(items.back().size()) + 1)
        items.emplace_back(&buffer[i]);
    return items;
}

using List = std::vector<std::string>;

class ProfileTest : public ::testing::TestWithParam<const ProfileReader*>
{
protected:
    const ProfileReader& Profile() const { return *GetParam(); }

    std::vector<std::string> Names(const std::string& file, DWORD size = 4096) const
    {
        std::vector<char> buffer(size, '#');
        const DWORD n = Profile().SectionNames(buffer.data(), size, file.c_str());
        return SplitList(buffer, n);
    }

    std::vector<std::string> Lines(const std::string& file, const char* section, DWORD size = 4096) const
    {
        std::vector<char> buffer(size, '#');
        const DWORD n = Profile().Section(section, buffer.data(), size, file.c_str());
        return SplitList(buffer, n);
    }

    std::string Value(const std::string& file, const char* section, const char* key,
                      const char* def = "dflt") const
    {
        char buffer[256];
        const DWORD n = Profile().String(section, key, def, buffer, sizeof buffer, file.c_str());
        EXPECT_EQ(std::string(buffer).size(), n);
        return buffer;
    }

    TempDir m_dir;
    std::string m_file = m_dir.Write("sample.ini", kSample);
};

} // namespace

QS_ON_EACH_PROFILE_ROAD(ProfileTest);

TEST_P(ProfileTest, SectionNamesListEveryNamedSectionInFileOrder)
{
    // Repeated names repeat; "[]" and the lines before the first section have no name.
    EXPECT_EQ((List{"one", "two", "ONE", "three", "empty section"}), Names(m_file));
    // An empty list is one NUL: the next byte stays as it was.
    std::vector<char> buffer(8, '#');
    EXPECT_EQ(0u, Profile().SectionNames(buffer.data(), 8, m_dir.PathOf("missing.ini").c_str()));
    EXPECT_EQ(std::string("\0#", 2), std::string(buffer.data(), 2));
}

TEST_P(ProfileTest, SectionListingTrimsLinesAndLeavesOutCommentsAndBlankLines)
{
    const List one = {"key=value",
                      "quoted=\"in quotes\"",
                      "single='in single'",
                      "half=\"open",
                      "spaced=\" kept \"",
                      "# hash=1",
                      "bare line",
                      "a=b=c",
                      "empty=",
                      "Dup=first",
                      "dup=second",
                      "high=\xE4\xF6\xFC",
                      "tabbed=v"};
    EXPECT_EQ(one, Lines(m_file, "one"));
    EXPECT_EQ(one, Lines(m_file, "ONE"));      // letter case ignored; the first of the two answers
    EXPECT_EQ(List{}, Lines(m_file, " one ")); // the name asked for is not trimmed
    EXPECT_EQ(List{"pre=1"}, Lines(m_file, ""));
    EXPECT_EQ((List{"y=2", "[four", "z=3"}), Lines(m_file, "three"));
    EXPECT_EQ(List{}, Lines(m_file, "empty section"));
    EXPECT_EQ(List{}, Lines(m_file, "nowhere"));
}

TEST_P(ProfileTest, ValueLookUpTrimsIgnoresCaseAndStripsOnePairOfQuotes)
{
    EXPECT_EQ("value", Value(m_file, "one", "key"));
    EXPECT_EQ("value", Value(m_file, " ONE ", " KEY "));
    EXPECT_EQ("in quotes", Value(m_file, "one", "quoted"));
    EXPECT_EQ("in single", Value(m_file, "one", "single"));
    EXPECT_EQ("\"open", Value(m_file, "one", "half"));
    EXPECT_EQ(" kept ", Value(m_file, "one", "spaced"));
    EXPECT_EQ("b=c", Value(m_file, "one", "a"));
    EXPECT_EQ("", Value(m_file, "one", "empty")); // present but empty: not the default
    EXPECT_EQ("first", Value(m_file, "one", "DUP"));
    EXPECT_EQ("\xE4\xF6\xFC", Value(m_file, "one", "high"));
    EXPECT_EQ("v", Value(m_file, "one", "tabbed"));
    EXPECT_EQ("1", Value(m_file, "one", "# hash"));
    EXPECT_EQ("still read", Value(m_file, "one", "; comment")); // though never listed
    EXPECT_EQ("1", Value(m_file, "", "pre"));
    EXPECT_EQ("1", Value(m_file, "two", "x"));
}

TEST_P(ProfileTest, ValueLookUpAnswersTheDefaultForWhatIsNoKey)
{
    EXPECT_EQ("dflt", Value(m_file, "one", "bare line"));
    EXPECT_EQ("dflt", Value(m_file, "two", "title")); // the first key, without "=", hides "Title=late"
    EXPECT_EQ("dflt", Value(m_file, "one", "extra")); // only in the second "[ONE]"
    EXPECT_EQ("dflt", Value(m_file, "", "e"));        // "[]" is never reached
    EXPECT_EQ("dflt", Value(m_file, "one", "missing"));
    EXPECT_EQ("dflt", Value(m_dir.PathOf("missing.ini"), "one", "key"));
    // The default: null is empty text; trailing blanks go, leading ones stay; quotes go.
    EXPECT_EQ("", Value(m_file, "one", "missing", nullptr));
    EXPECT_EQ("def", Value(m_file, "one", "missing", "def  "));
    EXPECT_EQ("  def", Value(m_file, "one", "missing", "  def"));
    EXPECT_EQ("q", Value(m_file, "one", "missing", "\"q\""));
}

TEST_P(ProfileTest, NullKeyListsTheKeysAndNullSectionTheSectionNames)
{
    std::vector<char> buffer(4096);
    DWORD n = Profile().String("three", nullptr, "", buffer.data(), 4096, m_file.c_str());
    EXPECT_EQ((List{"y", "z"}), SplitList(buffer, n));
    n = Profile().String("one", nullptr, "", buffer.data(), 4096, m_file.c_str());
    EXPECT_EQ(12u, SplitList(buffer, n).size()); // neither the comment nor the bare line
    n = Profile().String(nullptr, nullptr, "", buffer.data(), 4096, m_file.c_str());
    EXPECT_EQ(Names(m_file), SplitList(buffer, n));
}

TEST_P(ProfileTest, ListsThatDoNotFitAreCutAndAnswerSizeMinusTwo)
{
    std::vector<char> buffer(64, '#');
    EXPECT_EQ(8u, Profile().SectionNames(buffer.data(), 10, m_file.c_str()));
    EXPECT_EQ((List{"one", "two"}), SplitList(buffer, 8));
    EXPECT_EQ('\0', buffer[8]);

    // A list of exactly size - 2 characters fits, but answers size - 2 all the same.
    const std::string exact = m_dir.Write("exact.ini", "[abc]\r\n[def]\r\n[s]\r\nab=c\r\nde=f\r\n");
    EXPECT_EQ(10u, Profile().SectionNames(buffer.data(), 12, exact.c_str()));
    EXPECT_EQ((List{"abc", "def", "s"}), SplitList(buffer, 10));
    EXPECT_EQ(10u, Profile().SectionNames(buffer.data(), 13, exact.c_str()));
    EXPECT_EQ(10u, Profile().Section("s", buffer.data(), 12, exact.c_str()));
    EXPECT_EQ(9u, Profile().Section("s", buffer.data(), 11, exact.c_str()));
    EXPECT_STREQ("ab=c", buffer.data());
    EXPECT_EQ(0u, Profile().SectionNames(buffer.data(), 2, exact.c_str()));
    EXPECT_EQ('\0', buffer[0]);
}

TEST_P(ProfileTest, ValueThatDoesNotFitIsCutAndAnswersSizeMinusOne)
{
    char buffer[8];
    EXPECT_EQ(2u, Profile().String("one", "key", "", buffer, 3, m_file.c_str()));
    EXPECT_STREQ("va", buffer);
    EXPECT_EQ(0u, Profile().String("one", "key", "", buffer, 1, m_file.c_str()));
    EXPECT_STREQ("", buffer);
    // A value that just fits gives the same answer.
    EXPECT_EQ(5u, Profile().String("one", "Dup", "", buffer, 6, m_file.c_str()));
    EXPECT_STREQ("first", buffer);
    EXPECT_EQ(3u, Profile().String("one", "missing", "default", buffer, 4, m_file.c_str()));
    EXPECT_STREQ("def", buffer);
}

TEST_P(ProfileTest, LineEndsOfEveryKindAndAByteOrderMarkAreRead)
{
    for (const char* text :
         {"[s]\nk=v\n[t]\nx=1", "[s]\rk=v\r[t]\rx=1\r", "\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nx=1"}) {
        const std::string file = m_dir.Write("ends.ini", text);
        EXPECT_EQ((List{"s", "t"}), Names(file));
        EXPECT_EQ("v", Value(file, "s", "k"));
        EXPECT_EQ("1", Value(file, "t", "x"));
    }
}

TEST_P(ProfileTest, NulByteEndsANameValueOrLineAsInACString)
{
    // A NUL at the end of a file (as a program writing sizeof a C string leaves it) is a
    // blank line: the last section's lines count 4, not 6.
    const char text[] = "[s]\r\n\0k=1\r\nv=ab\0cd\r\n[t]\r\nx=1\r\n"; // sizeof counts the last NUL
    const std::string file = m_dir.Write("zero.ini", std::string(text, sizeof text));
    std::vector<char> buffer(64, '#');
    EXPECT_EQ(4u, Profile().Section("t", buffer.data(), 64, file.c_str()));
    EXPECT_EQ((List{"=1", "v=ab"}), Lines(file, "s")); // a line may begin with NUL: an empty key
    EXPECT_EQ("ab", Value(file, "s", "v"));
    EXPECT_EQ("dflt", Value(file, "s", "k"));
}

TEST_P(ProfileTest, NameWithoutFolderIsNotLookedForInTheCurrentDirectory)
{
    // Such a name means the Windows directory; a relative path with a folder is relative.
    m_dir.Write("plain.ini", "[s]\r\nk=v\r\n");
    const CurrentDirScope inside(m_dir.Path());
    EXPECT_EQ("dflt", Value("plain.ini", "s", "k"));
    EXPECT_EQ("v", Value(".\\plain.ini", "s", "k"));
    EXPECT_EQ("v", Value("./plain.ini", "s", "k"));
}

namespace {

// Under a double-byte code page a lead byte and the byte after it are one character: the
// second byte is no ']' and no letter. Per code page, a character whose second byte is ']'
// (949 has none: its second bytes leave out 0x5B to 0x60) and two that differ only in a second
// byte 'a' or 'A'.
struct DoubleByteRow
{
    UINT codePage;
    const char* bracket;
    const char* lower;
    const char* upper;
};

const DoubleByteRow kDoubleByteRows[] = {
    {932, "\x83\x5D", "\x81\x61", "\x81\x41"},
    {936, "\x81\x5D", "\x81\x61", "\x81\x41"},
    {949, "", "\x81\x61", "\x81\x41"},
};

} // namespace

TEST(ProfileDoubleByteTest, SecondBytesAreNeitherBracketsNorLetters)
{
#ifdef _WIN32
    // Started for a code page (QS_EXPECT_ACP, by ctest under that locale): it must be in force,
    // so that its row is also asked of the system's functions.
    if (const char* pszCodePage = std::getenv("QS_EXPECT_ACP")) {
        ASSERT_EQ(static_cast<UINT>(std::atoi(pszCodePage)), GetACP());
    }
#endif
    for (const DoubleByteRow& row : kDoubleByteRows) {
        SCOPED_TRACE(row.codePage);
        const FileBytesReader bytes(row.codePage);
        const std::string lower = row.lower;
        const std::string upper = row.upper;
        TempDir dir;
        const std::string file = dir.Write(
            "cp.ini", "[information]" + std::string(row.bracket) + "\r\nk=1\r\n[s" + lower + "]\r\nkey"
                          + lower + "=lower\r\nKEY" + upper + "=upper\r\n[x]\r\nq=\"ab\x81\"\r\n");
        // Valid text: the system's functions read it the same when this is the ANSI code page.
        std::vector<const ProfileReader*> roads = {&bytes};
#ifdef _WIN32
        if (GetACP() == row.codePage)
            roads.push_back(&SystemProfileReader());
#endif
        for (const ProfileReader* road : roads) {
            SCOPED_TRACE(road == &bytes ? "the file's bytes" : "the system's profile functions");
            std::vector<char> buffer(256, '#');
            const DWORD n = road->SectionNames(buffer.data(), 256, file.c_str());
            EXPECT_EQ((List{"information", "s" + lower, "x"}), SplitList(buffer, n));
            char value[64];
            road->String("information", "k", "dflt", value, sizeof value, file.c_str());
            EXPECT_STREQ("1", value);
            road->String(("S" + lower).c_str(), ("Key" + lower).c_str(), "dflt", value, sizeof value,
                         file.c_str());
            EXPECT_STREQ("lower", value); // single-byte letters fold
            road->String(("s" + lower).c_str(), ("key" + upper).c_str(), "dflt", value, sizeof value,
                         file.c_str());
            EXPECT_STREQ("upper", value);
            road->String(("s" + upper).c_str(), "key", "dflt", value, sizeof value, file.c_str());
            EXPECT_STREQ("dflt", value);
        }
        // A lead byte before a byte below 0x40 (no second byte in any of these code pages)
        // stands alone, so the value keeps its bytes and loses its quotes. Wine pairs the
        // lead byte with the quote instead and answers another character, with the quote.
        char value[64];
        bytes.String("x", "q", "dflt", value, sizeof value, file.c_str());
        EXPECT_STREQ("ab\x81", value);
    }
}
