// The test kit's decisions, apart from the Win32 process glue of runner.exe: reading the
// manifest, choosing which tests run on this machine, each test's time limit and verdict, the
// summary and the JUnit report. Portable, so the same code is tested natively.
#pragma once

#include <string>
#include <vector>

namespace qs::testkit {

// Labels a test declares in its build files; the runner probes what each one needs.
constexpr char kLabelEndToEnd[] = "e2e";                     // changes what a user of the desktop minds
constexpr char kLabelCodePagePrefix[] = "needs-acp-";        // + the ANSI code page, e.g. 932
constexpr char kLabelDpiPrefix[] = "needs-dpi-";             // + the system DPI, e.g. 96
constexpr char kLabelWidthPrefix[] = "needs-width-";         // + the screen's width in pixels
constexpr char kLabelTlsHelper[] = "needs-linux-tls-helper"; // the TLS front the tests start on Linux

// Environment variables Wine reads only from the environment a Wine process starts with,
// never from the block a parent hands to CreateProcess; Windows ignores them.
bool IsWineStartSetting(const std::string& name);

// One test of the manifest. Paths are relative to the bundle's folder.
struct TestEntry
{
    std::string name;
    std::string program;
    std::vector<std::string> arguments;
    std::vector<std::string> environment; // NAME=VALUE
    std::string workingDir;
    unsigned timeoutSeconds = 0; // 0: the runner's default
    std::vector<std::string> labels;
    std::vector<std::string> passPatterns; // when any, the output decides, not the exit status
    std::vector<std::string> skipPatterns;
    int line = 0; // where its record starts
};

struct Manifest
{
    std::vector<TestEntry> tests;
    std::vector<std::string> errors; // "line N: ..."; a manifest with any is not run
};

// Reads the manifest: one "key=value" a line, a record per "test=NAME" line; keys program,
// dir and timeout once; arg, env, label, pass and skip any number of times. Blank lines, lines
// starting with "#" and a trailing CR are ignored.
Manifest ParseManifest(const std::string& text);

// What the runner found out about the machine it runs on.
struct Machine
{
    bool disposable = false; // --disposable-machine
    unsigned codePage = 0;   // GetACP()
    unsigned dpi = 0;        // the system DPI
    unsigned width = 0;      // the screen's width (SM_CXFULLSCREEN) as a DPI-unaware program sees it
    bool underWine = false;
    // The Wine start settings this runner's own process was started with (NAME=VALUE).
    std::vector<std::string> wineStartSettings;
};

// Why `test` cannot run here (empty: it runs).
std::string SkipReason(const TestEntry& test, const Machine& machine);

// The time limit in milliseconds: the test's own (or `defaultSeconds`), times `scale`.
unsigned long long TimeLimitMs(const TestEntry& test, unsigned defaultSeconds, double scale);

// How often the runner tries to start a test program whose start failed for a reason that says
// nothing about the program, and how long it waits between tries.
constexpr int kStartTries = 3;
constexpr unsigned kStartRetryPauseMs = 2000;

// Whether a failed start (CreateProcess's error) may be tried again: the machine was short of
// memory or resources for a moment, or the new process ended while it was still being set up,
// which CreateProcess reports as an internal error (seen under Wine when its loader could not
// lay out the new process). A program that is missing, damaged or refused fails at once.
bool StartMayBeTriedAgain(unsigned long error);

enum class Verdict { Passed, Failed, Skipped };

struct Outcome
{
    Verdict verdict = Verdict::Failed;
    std::string reason; // why it failed or was skipped
};

// The verdict of a finished (or ended) test, as CTest gives it: a time limit overrun fails;
// output matching a skip pattern skips; with pass patterns only the output decides;
// otherwise exit status 0 passes.
Outcome Judge(const TestEntry& test, bool timedOut, unsigned long exitCode, const std::string& output);

// The reason a GoogleTest program printed for a skip (the line after "Skipped"), or "".
std::string GoogleTestSkipMessage(const std::string& output);

// The environment of a test: `parent` (NAME=VALUE each) with `overrides` set in it; names
// compare without letter case, as on Windows, and the result is sorted the way
// CreateProcess wants its block.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& parent,
                                           const std::vector<std::string>& overrides);

// One argument quoted for a Windows command line (CommandLineToArgvW's rules).
std::string QuotedArgument(const std::string& argument);

// A file name for a test's output: letters, digits, "-", "_" and "." kept, the rest "_".
std::string OutputFileName(const std::string& testName);

struct Result
{
    std::string name;
    Outcome outcome;
    double seconds = 0;
    std::string outputFile; // relative to the results folder
    std::string output;     // kept for the JUnit report (the tail of it for long outputs)
};

// One line per test, e.g. "passed   1.2 s  unit_setfile.CIniFile.Open".
std::string ResultLine(const Result& result);

// The end of the report: the skips with their reasons, the failures, and
// "N passed, M failed, K skipped".
std::string Summary(const std::vector<Result>& results);

// One JUnit XML document for CI systems.
std::string JUnitXml(const std::string& suiteName, const std::vector<Result>& results);

} // namespace qs::testkit
