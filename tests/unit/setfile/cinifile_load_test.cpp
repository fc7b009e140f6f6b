// Loading: section-name and section lists larger than the first buffer, long values.
#include "CIniFile.h"
#include "profile_roads.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifdef _WIN32
#include "ImportPatch.h"
#endif

// Each case runs on both roads of the profile reads.
class CIniFileLoadTest : public ::testing::TestWithParam<const ProfileReader*>
{};
QS_ON_EACH_PROFILE_ROAD(CIniFileLoadTest);

namespace {

std::string Numbered(const char* format, int number)
{
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

} // namespace

TEST_P(CIniFileLoadTest, NamesListOfExactly1022CharactersIsReadAgainWithMoreRoom)
{
    // 101 names of 9 characters and one of 11: 1010 + 12 = 1022 characters with their NULs.
    std::string text;
    for (int i = 0; i < 101; ++i)
        text += "[" + Numbered("sect_%04d", i) + "]\r\nk=v\r\n";
    text += "[last_name_x]\r\nk=end\r\n";
    TempDir dir;
    const std::string file = dir.Write("names.set", text);
    char names[1024];
    ASSERT_EQ(1022u, GetParam()->SectionNames(names, sizeof names, file.c_str()));

    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(file.c_str()));
    ASSERT_EQ(102, ini.GetSectionCount());
    EXPECT_STREQ("sect_0000", ini.GetSectionName(0));
    EXPECT_STREQ("sect_0100", ini.GetSectionName(100));
    EXPECT_STREQ("last_name_x", ini.GetSectionName(101));
    EXPECT_STREQ("end", ini.GetValue("LAST_NAME_X", "k", ""));
}

TEST_P(CIniFileLoadTest, NamesOverSeveralKilobytesLoadCompletely)
{
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "[" + Numbered("name_%04d", i) + "]\r\n";
    TempDir dir;
    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(dir.Write("many.set", text).c_str()));
    ASSERT_EQ(400, ini.GetSectionCount());
    EXPECT_STREQ("name_0399", ini.GetSectionName(399));
}

TEST_P(CIniFileLoadTest, LongSectionsAndShortOnesBetweenThemLoadCompletely)
{
    // "exact" lists 92 lines of 10 characters and one of 9: 1022 characters with their NULs.
    std::string text = "[big]\r\n";
    for (int i = 0; i < 150; ++i)
        text += Numbered("key%03d=", i) + Numbered("value of line %03d\r\n", i);
    text += "[small]\r\na=1\r\nb=2\r\nc=3\r\n[exact]\r\n";
    for (int i = 0; i < 92; ++i)
        text += Numbered("k%03d=", i) + Numbered("%05d\r\n", i);
    text += "last=1234\r\n[bigger]\r\n";
    for (int i = 0; i < 400; ++i)
        text += Numbered("entry%03d=", i) + Numbered("a somewhat longer value number %03d\r\n", i);
    TempDir dir;
    const std::string file = dir.Write("sections.set", text);
    char lines[1024];
    ASSERT_EQ(1022u, GetParam()->Section("exact", lines, sizeof lines, file.c_str()));

    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(file.c_str()));
    ASSERT_EQ(4, ini.GetSectionCount());
    EXPECT_TRUE(ini.HasKey("big", "key149"));
    EXPECT_STREQ("value of line 149", ini.GetValue("big", "key149", ""));
    EXPECT_TRUE(ini.HasKey("small", "c"));
    EXPECT_FALSE(ini.HasKey("small", "key000"));
    EXPECT_TRUE(ini.HasKey("exact", "k091"));
    EXPECT_STREQ("1234", ini.GetValue("exact", "last", ""));
    EXPECT_STREQ("a somewhat longer value number 399", ini.GetValue("bigger", "entry399", ""));
}

TEST_P(CIniFileLoadTest, ValuesOfAKilobyteAndMoreComeBackWhole)
{
    // 1023 characters answer 1023 from the first buffer, so they are read again as well.
    const std::string exact = std::string(1022, 'e') + "E";
    const std::string longer = "<" + std::string(3000, 'x') + ">";
    TempDir dir;
    CIniFile ini(*GetParam());
    ASSERT_TRUE(
        ini.Open(dir.Write("values.set", "[s]\r\nexact=" + exact + "\r\nlonger=" + longer + "\r\n").c_str()));
    EXPECT_EQ(exact, ini.GetValue("s", "exact", ""));
    EXPECT_EQ(longer, ini.GetValue("s", "longer", ""));
}

TEST_P(CIniFileLoadTest, NulBytesHideNoLaterLineAndAddNone)
{
    // A line that begins with NUL lists as an empty key; a NUL ending the file adds no line.
    const char text[] = "[s]\r\n\0k=1\r\nnext=2\r\n[t]\r\nx=1\r\n"; // sizeof counts the last NUL
    TempDir dir;
    CIniFile ini(*GetParam());
    ASSERT_TRUE(ini.Open(dir.Write("zero.set", std::string(text, sizeof text)).c_str()));
    EXPECT_STREQ("2", ini.GetValue("s", "next", "dflt"));
    EXPECT_TRUE(ini.HasKey("t", "x"));
}

#ifdef _WIN32
namespace {

decltype(&GetPrivateProfileSectionA) g_pfnRealSection = nullptr;

// A system that answers 0 for the section "quiet" without writing even the empty list.
DWORD WINAPI SectionUnwrittenForQuiet(LPCSTR pszSection, LPSTR pszBuffer, DWORD nSize, LPCSTR pszFile)
{
    if (pszSection && lstrcmpiA(pszSection, "quiet") == 0)
        return 0;
    return g_pfnRealSection(pszSection, pszBuffer, nSize, pszFile);
}

} // namespace

TEST(CIniFileSystemRoadTest, SectionLeftUnwrittenBySystemDoesNotListThePreviousSectionsLines)
{
    TempDir dir;
    const std::string file = dir.Write("quiet.set", "[loud]\r\nk=1\r\nm=2\r\n[quiet]\r\nq=3\r\n");
    CIniFile ini(SystemProfileReader());
    {
        ImportPatch patch(GetModuleHandleA(nullptr), "kernel32.dll", "GetPrivateProfileSectionA",
                          reinterpret_cast<void*>(SectionUnwrittenForQuiet));
        ASSERT_TRUE(patch.IsActive());
        g_pfnRealSection = patch.Original<decltype(&GetPrivateProfileSectionA)>();
        ASSERT_TRUE(ini.Open(file.c_str()));
    }
    ASSERT_EQ(2, ini.GetSectionCount());
    EXPECT_TRUE(ini.HasKey("loud", "m"));
    EXPECT_FALSE(ini.HasKey("quiet", "k")) << "the lines of [loud] were listed again";
    EXPECT_FALSE(ini.HasKey("quiet", "m"));
    EXPECT_STREQ("none", ini.GetValue("quiet", "k", "none"));
}
#endif
