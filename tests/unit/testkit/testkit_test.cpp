#include "TestKit.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace qs::testkit;

namespace {

TestEntry WithLabels(std::vector<std::string> labels, std::vector<std::string> environment = {})
{
    TestEntry test;
    test.name = "t";
    test.program = "t.exe";
    test.labels = std::move(labels);
    test.environment = std::move(environment);
    return test;
}

TEST(ManifestTest, ReadsEveryKeyOfARecordAndKeepsArgumentsWithEqualsWhole)
{
    const Manifest manifest = ParseManifest("# made by make-test-bundle.sh\r\n"
                                            "test=unit_a.Suite.Case\r\n"
                                            "program=build\\tests\\unit_a.exe\r\n"
                                            "arg=--gtest_filter=Suite.Case\r\n"
                                            "arg=\r\n"
                                            "env=LC_ALL=ja_JP.UTF-8\r\n"
                                            "dir=build\\tests\r\n"
                                            "timeout=60\r\n"
                                            "label=e2e\r\n"
                                            "label=needs-acp-932\r\n"
                                            "pass=\\[  PASSED  \\] 1 test\\.\r\n"
                                            "skip=\\[  SKIPPED \\]\r\n"
                                            "\r\n"
                                            "test=second\n"
                                            "program=b.exe\n");
    ASSERT_TRUE(manifest.errors.empty()) << manifest.errors[0];
    ASSERT_EQ(2u, manifest.tests.size());
    const TestEntry& a = manifest.tests[0];
    EXPECT_EQ("unit_a.Suite.Case", a.name);
    EXPECT_EQ("build\\tests\\unit_a.exe", a.program);
    EXPECT_EQ((std::vector<std::string>{"--gtest_filter=Suite.Case", ""}), a.arguments);
    EXPECT_EQ((std::vector<std::string>{"LC_ALL=ja_JP.UTF-8"}), a.environment);
    EXPECT_EQ("build\\tests", a.workingDir);
    EXPECT_EQ(60u, a.timeoutSeconds);
    EXPECT_EQ((std::vector<std::string>{"e2e", "needs-acp-932"}), a.labels);
    EXPECT_EQ((std::vector<std::string>{"\\[  PASSED  \\] 1 test\\."}), a.passPatterns);
    EXPECT_EQ((std::vector<std::string>{"\\[  SKIPPED \\]"}), a.skipPatterns);
    EXPECT_EQ(2, a.line);
    EXPECT_EQ(0u, manifest.tests[1].timeoutSeconds);
    EXPECT_TRUE(manifest.tests[1].arguments.empty());
}

TEST(ManifestTest, NamesTheLineOfEachFault)
{
    const Manifest manifest = ParseManifest("program=a.exe\n" // 1: before any test
                                            "test=a\n"        // 2: names no program
                                            "timeout=2m\n"    // 3
                                            "timeout=-1\n"    // 4
                                            "env=NOVALUE\n"   // 5
                                            "env==C:=C:\\\n"  // 6
                                            "colour=red\n"    // 7
                                            "just text\n"     // 8
                                            "test=\n"         // 9
                                            "program=b.exe\n");
    const std::vector<std::string> expected = {
        "line 1: \"program\" before the first test",
        "line 3: time limit \"2m\" is not a number of seconds",
        "line 4: time limit \"-1\" is not a number of seconds",
        "line 5: environment entry \"NOVALUE\" is not NAME=VALUE",
        "line 6: environment entry \"=C:=C:\\\" is not NAME=VALUE",
        "line 7: unknown key \"colour\"",
        "line 8: no \"=\" in \"just text\"",
        "line 9: a test without a name",
        "line 2: test a names no program",
    };
    EXPECT_EQ(expected, manifest.errors);
}

// Each need, met and not met, on Windows and under Wine.
TEST(SkipReasonTest, RunsATestOnlyWhereWhatItNeedsIsThere)
{
    Machine windows;
    windows.codePage = 1252;
    windows.dpi = 96;
    windows.width = 1280;
    Machine disposable = windows;
    disposable.disposable = true;
    Machine japanese = disposable;
    japanese.codePage = 932;
    Machine scaled = disposable;
    scaled.dpi = 120;
    Machine narrow = disposable;
    narrow.width = 1024;
    Machine wine = disposable;
    wine.underWine = true;
    Machine wineStarted = wine;
    wineStarted.wineStartSettings = {"WINEDLLOVERRIDES=wininet=n,b"};

    const TestEntry unit = WithLabels({});
    const TestEntry e2e = WithLabels({"e2e"});
    const TestEntry codePage = WithLabels({"needs-acp-932"}, {"LC_ALL=ja_JP.UTF-8"});
    const TestEntry dpi = WithLabels({"e2e", "needs-dpi-96"});
    const TestEntry tls = WithLabels({"needs-linux-tls-helper"});
    const TestEntry planted = WithLabels({"e2e"}, {"WINEDLLOVERRIDES=wininet=n,b"});

    EXPECT_EQ("", SkipReason(unit, windows));
    EXPECT_NE(std::string::npos, SkipReason(e2e, windows).find("--disposable-machine"));
    EXPECT_EQ("", SkipReason(e2e, disposable));
    EXPECT_EQ("needs the ANSI code page 932, this machine's is 1252 (Windows takes it from the system locale "
              "for non-Unicode programs)",
              SkipReason(codePage, windows));
    EXPECT_EQ("", SkipReason(codePage, japanese));
    EXPECT_NE(std::string::npos, SkipReason(codePage, wine).find("Wine takes it from the locale"));
    EXPECT_EQ("", SkipReason(dpi, disposable));
    EXPECT_EQ("needs a display scale of 96 DPI (100 %), this machine's system DPI is 120",
              SkipReason(dpi, scaled));
    const TestEntry width = WithLabels({"e2e", "needs-width-1280"});
    EXPECT_EQ("", SkipReason(width, disposable));
    EXPECT_EQ("needs a screen 1280 pixels wide, this machine's is 1024", SkipReason(width, narrow));
    EXPECT_NE(std::string::npos, SkipReason(tls, disposable).find("Linux"));
    EXPECT_NE(std::string::npos, SkipReason(tls, wine).find("Linux"));
    // Windows ignores a setting only Wine reads; under Wine it works only from Wine's start.
    EXPECT_EQ("", SkipReason(planted, disposable));
    EXPECT_NE(std::string::npos,
              SkipReason(planted, wine).find("needs WINEDLLOVERRIDES=wininet=n,b, which Wine"));
    EXPECT_EQ("", SkipReason(planted, wineStarted));
    EXPECT_NE("", SkipReason(WithLabels({}, {"wineDllOverrides=x=b"}), wineStarted));
    EXPECT_EQ("", SkipReason(WithLabels({}, {"QS_WAIT_SCALE=4"}), wine));
}

TEST(TimeLimitTest, TakesTheTestsOwnLimitOrTheDefaultTimesTheScale)
{
    TestEntry test;
    EXPECT_EQ(1500000u, TimeLimitMs(test, 1500, 1));
    test.timeoutSeconds = 120;
    EXPECT_EQ(120000u, TimeLimitMs(test, 1500, 1));
    EXPECT_EQ(300000u, TimeLimitMs(test, 1500, 2.5));
    EXPECT_EQ(120000u, TimeLimitMs(test, 1500, 0));
}

TEST(StartTest, TriesAgainOnlyWhenTheFailureSaysNothingAboutTheProgram)
{
    // A process Wine's loader ended during its start (1359), memory or resources short.
    for (unsigned long error : {1359ul, 8ul, 14ul, 1450ul, 1455ul})
        EXPECT_TRUE(StartMayBeTriedAgain(error)) << error;
    // Missing file or folder, refused, not a program, wrong machine type, bad working folder.
    for (unsigned long error : {2ul, 3ul, 5ul, 193ul, 216ul, 267ul, 0ul})
        EXPECT_FALSE(StartMayBeTriedAgain(error)) << error;
}

struct JudgeCase
{
    const char* what;
    std::vector<std::string> pass;
    std::vector<std::string> skip;
    bool timedOut;
    unsigned long exitCode;
    const char* output;
    Verdict verdict;
    const char* reason;
};

TEST(JudgeTest, DecidesAsCTestDoes)
{
    const std::vector<std::string> gtestSkip = {"\\[  SKIPPED \\]"};
    const std::vector<std::string> onePassed = {"\\[  PASSED  \\] 1 test\\."};
    const JudgeCase cases[] = {
        {"exit 0", {}, gtestSkip, false, 0, "[  PASSED  ] 1 test.", Verdict::Passed, ""},
        {"exit 1", {}, gtestSkip, false, 1, "[  FAILED  ] 1 test", Verdict::Failed, "exit status 1"},
        {"crash", {}, {}, false, 0xC0000005, "", Verdict::Failed, "exit status 0xC0000005"},
        {"overrun, even with a pass",
         onePassed,
         {},
         true,
         0,
         "[  PASSED  ] 1 test.",
         Verdict::Failed,
         "ended after its time limit"},
        {"pattern wins over exit", onePassed, {}, false, 3, "[  PASSED  ] 1 test.", Verdict::Passed, ""},
        {"filter matched nothing",
         onePassed,
         {},
         false,
         0,
         "[  PASSED  ] 0 tests.",
         Verdict::Failed,
         "its output does not show the pass it must"},
        {"gtest skip",
         {},
         gtestSkip,
         false,
         0,
         "x.cpp(12): Skipped\r\nleft to the x86_64 run: no paint\r\n[  SKIPPED ] A.B\r\n",
         Verdict::Skipped,
         "left to the x86_64 run: no paint"},
        {"skip without message",
         {},
         gtestSkip,
         false,
         0,
         "[  SKIPPED ] A.B",
         Verdict::Skipped,
         "the test skipped itself"},
        {"bad pattern", {"(["}, {}, false, 0, "", Verdict::Failed, "the pattern \"([\" cannot be read"},
    };
    for (const JudgeCase& c : cases) {
        TestEntry test;
        test.passPatterns = c.pass;
        test.skipPatterns = c.skip;
        const Outcome outcome = Judge(test, c.timedOut, c.exitCode, c.output);
        EXPECT_EQ(c.verdict, outcome.verdict) << c.what;
        EXPECT_EQ(c.reason, outcome.reason) << c.what;
    }
}

TEST(EnvironmentTest, SetsTheTestsValuesOverTheParentsWithoutLetterCaseAndSorts)
{
    const std::vector<std::string> parent = {"=C:=C:\\work", "Path=C:\\Windows", "TEMP=C:\\t", "lc_all=C"};
    EXPECT_EQ((std::vector<std::string>{"LC_ALL=ja_JP.UTF-8", "Path=C:\\Windows", "QS_TEST_BUNDLE=D:\\kit",
                                        "TEMP=C:\\t"}),
              MergedEnvironment(parent, {"QS_TEST_BUNDLE=D:\\kit", "LC_ALL=ja_JP.UTF-8"}));
}

TEST(CommandLineTest, QuotesAsCommandLineToArgvReadsBack)
{
    EXPECT_EQ("--gtest_filter=A.*", QuotedArgument("--gtest_filter=A.*"));
    EXPECT_EQ("\"\"", QuotedArgument(""));
    EXPECT_EQ("\"C:\\My Kit\\a.exe\"", QuotedArgument("C:\\My Kit\\a.exe"));
    EXPECT_EQ("\"a \\\"b\\\"\"", QuotedArgument("a \"b\""));
    EXPECT_EQ("\"C:\\dir \\\\\"", QuotedArgument("C:\\dir \\"));
    EXPECT_EQ("\"a\\\\\\\"b c\"", QuotedArgument("a\\\"b c"));
    EXPECT_EQ("e2e_upvane_codepage.X_CodePage932.txt", OutputFileName("e2e_upvane_codepage.X/CodePage932"));
}

std::vector<Result> SomeResults()
{
    Result passed{"unit.A.B", {Verdict::Passed, ""}, 1.25, "output\\unit.A.B.txt", ""};
    Result failed{"e2e.C<D>.E",
                  {Verdict::Failed, "exit status 1"},
                  2,
                  "output\\e2e.C_D_.E.txt",
                  "expected \"x\" & got \x01y"};
    Result skipped{"e2e.F.G", {Verdict::Skipped, "needs a display scale of 96 DPI"}, 0, "", ""};
    return {passed, failed, skipped};
}

TEST(ReportTest, EndsWithTheSkipsAndTheirReasonsTheFailuresAndTheCounts)
{
    const std::vector<Result> results = SomeResults();
    EXPECT_EQ("passed     1.2 s  unit.A.B", ResultLine(results[0]));
    EXPECT_EQ("FAILED     2.0 s  e2e.C<D>.E  (exit status 1)", ResultLine(results[1]));
    EXPECT_EQ("Skipped, and why:\n"
              "  e2e.F.G: needs a display scale of 96 DPI\n"
              "Failed:\n"
              "  e2e.C<D>.E: exit status 1 (output: output\\e2e.C_D_.E.txt)\n"
              "1 passed, 1 failed, 1 skipped\n",
              Summary(results));
    EXPECT_EQ("0 passed, 0 failed, 0 skipped\n", Summary({}));
}

TEST(ReportTest, WritesOneJUnitSuiteWithEscapedNamesFailuresAndSkips)
{
    const std::string xml = JUnitXml("Quillsuite", SomeResults());
    EXPECT_EQ(
        0u, xml.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<testsuites tests=\"3\" failures=\"1\" skipped=\"1\" time=\"3.250\">\n"
                     "  <testsuite name=\"Quillsuite\" tests=\"3\" failures=\"1\" errors=\"0\" skipped=\"1\" "
                     "time=\"3.250\">\n"))
        << xml;
    EXPECT_NE(std::string::npos,
              xml.find("    <testcase classname=\"unit.A\" name=\"unit.A.B\" time=\"1.250\"/>\n"));
    EXPECT_NE(std::string::npos,
              xml.find("    <testcase classname=\"e2e.C&lt;D&gt;\" name=\"e2e.C&lt;D&gt;.E\" "
                       "time=\"2.000\">\n"
                       "      <failure message=\"exit status 1\"/>\n"
                       "      <system-out>expected &quot;x&quot; &amp; got ?y</system-out>\n"
                       "    </testcase>\n"))
        << xml;
    EXPECT_NE(std::string::npos,
              xml.find("<skipped message=\"needs a display scale of 96 DPI\"/>\n    </testcase>\n"));
    const std::string end = "  </testsuite>\n</testsuites>\n";
    EXPECT_EQ(xml.size() - end.size(), xml.rfind(end));
}

} // namespace
