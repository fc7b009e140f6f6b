// Look-ups: letter case, the forms of entry lines, repeated keys and sections, the result text.
#include "CIniFile.h"
#include "profile_roads.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

const char kSetFile[] = "[information]\r\n"
                        "Caption=Hello\r\n"
                        "a=b=c\r\n"
                        "flag\r\n"
                        "key =v\r\n"
                        "empty=\r\n"
                        "=x\r\n"
                        "dup=first\r\n"
                        "DUP=second\r\n"
                        "Flag=late\r\n"
                        "[second]\r\n"
                        "k=2\r\n"
                        "[INFORMATION]\r\n"
                        "only=in the repeated section\r\n";

class CIniFileLookupTest : public ::testing::TestWithParam<const ProfileReader*>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_ini.Open(m_file.c_str())); }

    TempDir m_dir;
    std::string m_file = m_dir.Write("lookup.set", kSetFile);
    CIniFile m_ini{*GetParam()};
};

} // namespace

QS_ON_EACH_PROFILE_ROAD(CIniFileLookupTest);

TEST_P(CIniFileLookupTest, LetterCaseOfSectionAndKeyIsIgnored)
{
    EXPECT_TRUE(m_ini.HasSection("Information"));
    EXPECT_TRUE(m_ini.HasKey("INFORMATION", "CAPTION"));
    EXPECT_STREQ("Hello", m_ini.GetValue("INFORMATION", "caption", ""));
    EXPECT_FALSE(m_ini.HasSection("informatio"));
    EXPECT_STREQ("dflt", m_ini.GetValue("information", "captio", "dflt"));
}

TEST_P(CIniFileLookupTest, EntryLinesSplitAtTheFirstEqualsSign)
{
    EXPECT_STREQ("b=c", m_ini.GetValue("information", "a", ""));
    EXPECT_STREQ("", m_ini.GetValue("information", "empty", "dflt")); // empty, not the default
    // A line without "=" is an entry no look-up finds; as the first key of its name it also
    // hides the later "Flag=late", which the loaded copy holds.
    EXPECT_TRUE(m_ini.HasKey("information", "flag"));
    EXPECT_STREQ("dflt", m_ini.GetValue("information", "flag", "dflt"));
    // The platform lists "key =v" as "key=v"; the loaded key has no blank, so only the
    // name without it is found.
    EXPECT_STREQ("v", m_ini.GetValue("information", "key", "dflt"));
    EXPECT_STREQ("dflt", m_ini.GetValue("information", "key ", "dflt"));
}

TEST_P(CIniFileLookupTest, RepeatedKeysAndSectionsAreAllLoaded)
{
    ASSERT_EQ(3, m_ini.GetSectionCount());
    EXPECT_STREQ("INFORMATION", m_ini.GetSectionName(2));
    EXPECT_TRUE(m_ini.HasKey("information", "dup"));
    EXPECT_STREQ("first", m_ini.GetValue("information", "Dup", ""));
    // The platform answers both equally named sections with the lines of the first one.
    EXPECT_FALSE(m_ini.HasKey("information", "only"));
}

TEST_P(CIniFileLookupTest, SectionIndexIsClampedIntoRange)
{
    EXPECT_STREQ("information", m_ini.GetSectionName(-5));
    EXPECT_STREQ("information", m_ini.GetSectionName(INT_MIN));
    EXPECT_STREQ("second", m_ini.GetSectionName(1));
    EXPECT_STREQ("INFORMATION", m_ini.GetSectionName(99));
    EXPECT_STREQ("INFORMATION", m_ini.GetSectionName(INT_MAX));

    CIniFile empty(*GetParam());
    EXPECT_EQ(0, empty.GetSectionCount());
    EXPECT_STREQ("", empty.GetSectionName(0));
    EXPECT_STREQ("dflt", empty.GetValue("information", "Caption", "dflt"));
    EXPECT_STREQ("", empty.GetLastErrorText());
}

TEST_P(CIniFileLookupTest, EmptyArgumentsAreMissingParameters)
{
    EXPECT_FALSE(m_ini.HasSection(""));
    EXPECT_STREQ("Missing parameters", m_ini.GetLastErrorText());
    EXPECT_STREQ("dflt", m_ini.GetValue("information", "", "dflt")); // also the "=x" line's key
    EXPECT_FALSE(m_ini.HasKey("", "Caption"));
    // Success leaves the failure text in place.
    EXPECT_STREQ("Hello", m_ini.GetValue("information", "Caption", ""));
    EXPECT_STREQ("Missing parameters", m_ini.GetLastErrorText());
}

TEST_P(CIniFileLookupTest, ResultTextLivesUntilTheNextCall)
{
    // Short texts: the one result buffer keeps its place, so an earlier pointer shows the
    // text of the latest call.
    const char* value = m_ini.GetValue("second", "k", "");
    EXPECT_STREQ("2", value);
    EXPECT_EQ(value, m_ini.GetSectionName(1));
    EXPECT_STREQ("second", value);
    // The default is copied: a temporary may be passed.
    const char* copied = m_ini.GetValue("second", "none", std::string("a temporary default").c_str());
    EXPECT_STREQ("a temporary default", copied);
}

TEST_P(CIniFileLookupTest, ValuesAreReadFromTheFileWhenAskedFor)
{
    m_dir.Write("lookup.set", "[information]\r\nCaption=Changed\r\nadded=1\r\n");
    EXPECT_STREQ("Changed", m_ini.GetValue("information", "Caption", ""));
    EXPECT_STREQ("dflt", m_ini.GetValue("information", "added", "dflt")); // not in the loaded copy
}

TEST(CIniFileDoubleByteTest, SectionNamesAndLettersReadAsCharacters)
{
    // Under a double-byte code page a second byte 0x5D is no ']', and a second byte 'a' is
    // no letter (949 has no second byte 0x5D).
    const struct
    {
        UINT codePage;
        const char* bracket;
    } rows[] = {{932, "\x83\x5D"}, {936, "\x81\x5D"}, {949, ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.codePage);
        TempDir dir;
        const std::string file = dir.Write("cp.set", "[information]" + std::string(row.bracket)
                                                         + "\r\nCaption=Hello\r\n[s\x81\x61]\r\nk=1\r\n");
        const FileBytesReader bytes(row.codePage);
        CIniFile ini(bytes);
        ASSERT_TRUE(ini.Open(file.c_str()));
        EXPECT_STREQ("information", ini.GetSectionName(0));
        EXPECT_STREQ("Hello", ini.GetValue("INFORMATION", "caption", "dflt"));
        EXPECT_STREQ("1", ini.GetValue("S\x81\x61", "K", "dflt"));
        EXPECT_STREQ("dflt", ini.GetValue("s\x81\x41", "k", "dflt"));
    }
}
