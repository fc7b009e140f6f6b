// The demo's files: the set file the build made holds exactly the plain source's values, and
// the demo's version document is an upgrade for its installed text.
#include "SourceValues.h"
#include "setmaker_test_support.h"

#include "TestedPath.h"

#include <gtest/gtest.h>

namespace {

const std::string kExamples = qs::test::TestedPath(QS_EXAMPLES_DIR);

} // namespace

#ifdef QS_EXAMPLE_SET_FILE
TEST(ExampleTest, TheBuiltSetFileReadsBackAsItsPlainSource)
{
    const SourceReading source = ReadSourceValues(kExamples + "/quillory-demo.ini");
    ASSERT_TRUE(source.m_bOpened);
    EXPECT_TRUE(source.m_warnings.empty());
    const SetFileReading reading = ReadSetFileAsUpvane(QS_EXAMPLE_SET_FILE);
    ASSERT_TRUE(reading.m_bOpened);
    for (int nKey = 0; nKey < keyCount; ++nKey) {
        ASSERT_TRUE(source.m_values[nKey].has_value()) << kSetFileKeys[nKey];
        ASSERT_TRUE(reading.m_values[nKey].has_value()) << kSetFileKeys[nKey];
        EXPECT_EQ(*source.m_values[nKey], *reading.m_values[nKey]) << kSetFileKeys[nKey];
    }
    EXPECT_EQ(CString("127.0.0.1:8642/quillory"), *reading.m_values[keyWebLink]);
    EXPECT_EQ(CString("version.txt"), *reading.m_values[keyWizFile]);
}
#endif

TEST(ExampleTest, TheDemoDocumentIsAnUpgradeWithoutLayoutWarnings)
{
    TempDir dir;
    const ToolRun made =
        RunTool({"make", "-i", kExamples + "/quillory-demo.ini", "-o", dir.PathOf("Quillory.set")});
    ASSERT_EQ(0, made.m_nExit) << made.m_strErr;
    EXPECT_EQ("", made.m_strErr);
    const ToolRun run =
        RunTool({"check", "--set-file", dir.PathOf("Quillory.set"), kExamples + "/version.txt"});
    ASSERT_EQ(0, run.m_nExit) << run.m_strErr;
    EXPECT_TRUE(Contains(run.m_strOut, "examined text       \"Sample App Version 3.2 Build 7\"\n"))
        << run.m_strOut;
    EXPECT_TRUE(Contains(run.m_strOut, "outcome             upgrade\n")) << run.m_strOut;
    EXPECT_EQ("", run.m_strErr);
}
