// runner.exe: runs the tests of a test bundle on Windows, one at a time, each in a job object
// so that whatever it starts ends with it, and reports them on the console, in the results
// folder (one output file per test, summary.txt, junit.xml) and by its exit status: 0 only
// when nothing failed. The decisions are TestKit's; this file is the Win32 glue.
#include "TestKit.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace qs::testkit;

namespace {

constexpr char kManifestName[] = "tests.manifest";
constexpr char kResultsName[] = "results";
constexpr char kBundleVariable[] = "QS_TEST_BUNDLE"; // where the tests find the bundle's files
constexpr unsigned kDefaultTimeoutSeconds = 1500;    // CTest's default
constexpr char kUsage[] =
    "usage: runner.exe [--disposable-machine] [--results FOLDER] [--manifest FILE]\n"
    "                  [--filter TEXT] [--time-scale FACTOR]\n"
    "  --disposable-machine  also run the end-to-end tests, which change the clipboard, the\n"
    "                        http/https/mailto handlers, Desktop and Favorites, the focus and\n"
    "                        keys: only in Windows Sandbox, on a CI agent or a test VM\n"
    "  --results FOLDER      where outputs, summary.txt and junit.xml go (default: results\n"
    "                        beside runner.exe)\n"
    "  --filter TEXT         only the tests whose name contains TEXT\n"
    "  --time-scale FACTOR   multiply every time limit (slow machines)\n";

// A handle closed when its owner ends.
class Handle
{
public:
    explicit Handle(HANDLE handle = nullptr)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    {
    }
    ~Handle()
    {
        if (m_handle)
            CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle;
};

struct Options
{
    bool disposable = false;
    std::string results;
    std::string manifest;
    std::string filter;
    double timeScale = 1;
};

std::string ModuleDir()
{
    char path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\'));
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH * 2] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n && n < sizeof full ? std::string(full, n) : path;
}

std::string Join(const std::string& dir, const std::string& name)
{
    if (name.empty() || name == ".")
        return dir;
    return dir + "\\" + name;
}

bool MakeFolders(const std::string& path)
{
    for (size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
        const std::string part = path.substr(0, at);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (at == std::string::npos)
            return true;
    }
}

bool ReadFile(const std::string& path, std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[8192];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return true;
}

bool WriteFile(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

std::vector<std::string> OwnEnvironment()
{
    std::vector<std::string> environment;
    char* block = GetEnvironmentStringsA();
    for (const char* entry = block; entry && *entry; entry += std::strlen(entry) + 1)
        environment.emplace_back(entry);
    FreeEnvironmentStringsA(block);
    return environment;
}

Machine ProbeMachine(bool disposable)
{
    Machine machine;
    machine.disposable = disposable;
    machine.codePage = GetACP();
    // Measured as the tests measure it, before this process declares itself DPI-aware.
    machine.width = static_cast<unsigned>(GetSystemMetrics(SM_CXFULLSCREEN));
    // The system DPI, as a program that declares itself DPI-aware (ours do) sees it.
    SetProcessDPIAware();
    if (HDC screen = GetDC(nullptr)) {
        machine.dpi = static_cast<unsigned>(GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }
    machine.underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    for (const std::string& entry : OwnEnvironment()) {
        if (IsWineStartSetting(entry.substr(0, entry.find('='))))
            machine.wineStartSettings.push_back(entry);
    }
    return machine;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--disposable-machine") {
            options.disposable = true;
        } else if (arg == "--results" && hasValue) {
            options.results = argv[++i];
        } else if (arg == "--manifest" && hasValue) {
            options.manifest = argv[++i];
        } else if (arg == "--filter" && hasValue) {
            options.filter = argv[++i];
        } else if (arg == "--time-scale" && hasValue) {
            options.timeScale = std::atof(argv[++i]);
            if (options.timeScale <= 0)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

// Runs one test with its output in `outputPath`; false when it could not be started.
// `startNote` says so when the start succeeded only on a later try.
bool RunTest(const TestEntry& test, const std::string& bundle, const std::string& outputPath,
             unsigned long long limitMs, bool& timedOut, DWORD& exitCode, std::string& failure,
             std::string& startNote)
{
    SECURITY_ATTRIBUTES inherit = {};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    Handle output(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    Handle input(CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                             0, nullptr));
    if (!output) {
        failure = "cannot write " + outputPath;
        return false;
    }

    const std::string program = Join(bundle, test.program);
    std::string commandLine = QuotedArgument(program);
    for (const std::string& argument : test.arguments)
        commandLine += " " + QuotedArgument(argument);
    std::vector<std::string> overrides = test.environment;
    overrides.push_back(std::string(kBundleVariable) + "=" + bundle);
    std::string block;
    for (const std::string& entry : MergedEnvironment(OwnEnvironment(), overrides))
        block += entry + '\0';
    block += '\0';
    const std::string dir = test.workingDir.empty() ? program.substr(0, program.find_last_of('\\'))
                                                    : Join(bundle, test.workingDir);

    // Everything the test starts belongs to its job, and ends with it.
    Handle job(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (!job
        || !SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        failure = "cannot make a job object (error " + std::to_string(GetLastError()) + ")";
        return false;
    }

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.Get();
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    PROCESS_INFORMATION process = {};
    std::string earlier; // the errors of the tries that failed, for the report
    for (int tries = 1;; ++tries) {
        std::vector<char> mutableCommandLine(commandLine.begin(), commandLine.end());
        mutableCommandLine.push_back('\0');
        if (CreateProcessA(program.c_str(), mutableCommandLine.data(), nullptr, nullptr, TRUE,
                           CREATE_SUSPENDED, block.data(), dir.c_str(), &startup, &process))
            break;
        const DWORD error = GetLastError();
        earlier += (earlier.empty() ? "error " : ", error ") + std::to_string(error);
        if (tries == kStartTries || !StartMayBeTriedAgain(error)) {
            failure = "cannot start " + program + " (" + earlier
                      + (tries > 1 ? ", in " + std::to_string(tries) + " tries)" : ")");
            return false;
        }
        Sleep(kStartRetryPauseMs);
    }
    if (!earlier.empty()) {
        // Said at the top of the test's output, where whoever reads a result looks.
        const std::string note =
            "runner: started on a later try; the earlier ones failed (" + earlier + ")\r\n";
        DWORD written = 0;
        ::WriteFile(output.Get(), note.data(), static_cast<DWORD>(note.size()), &written, nullptr);
        startNote = note.substr(0, note.size() - 2);
    }
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    if (!AssignProcessToJobObject(job.Get(), process.hProcess)) {
        failure = "cannot put the test in a job object (error " + std::to_string(GetLastError()) + ")";
        TerminateProcess(process.hProcess, 1);
        return false;
    }
    ResumeThread(process.hThread);

    const DWORD waitMs = limitMs >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(limitMs);
    timedOut = WaitForSingleObject(process.hProcess, waitMs) == WAIT_TIMEOUT;
    // What the test left running would disturb the next one.
    TerminateJobObject(job.Get(), 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
    return true;
}

void Print(const std::string& text, FILE* log)
{
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    if (log) {
        std::fputs(text.c_str(), log);
        std::fflush(log);
    }
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // A test that crashes must end and fail, not wait in an error box; the children inherit it.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

    const std::string bundle = ModuleDir();
    const std::string manifestPath =
        FullPath(options.manifest.empty() ? Join(bundle, kManifestName) : options.manifest);
    const std::string resultsDir =
        FullPath(options.results.empty() ? Join(bundle, kResultsName) : options.results);
    const std::string outputs = Join(resultsDir, "output");
    std::string manifestText;
    if (!ReadFile(manifestPath, manifestText)) {
        std::fprintf(stderr, "runner: cannot read %s\n", manifestPath.c_str());
        return 2;
    }
    const Manifest manifest = ParseManifest(manifestText);
    if (!manifest.errors.empty()) {
        for (const std::string& error : manifest.errors)
            std::fprintf(stderr, "runner: %s: %s\n", manifestPath.c_str(), error.c_str());
        return 2;
    }
    if (!MakeFolders(outputs)) {
        std::fprintf(stderr, "runner: cannot make %s\n", outputs.c_str());
        return 2;
    }
    FILE* log = std::fopen(Join(resultsDir, "summary.txt").c_str(), "wb");

    const Machine machine = ProbeMachine(options.disposable);
    Print("Quillsuite test kit: " + std::to_string(manifest.tests.size()) + " tests; ANSI code page "
              + std::to_string(machine.codePage) + ", system DPI " + std::to_string(machine.dpi)
              + (machine.underWine ? ", under Wine" : "")
              + (machine.disposable ? ", disposable machine" : ", end-to-end tests left out") + "\n",
          log);

    std::vector<Result> done;
    for (const TestEntry& test : manifest.tests) {
        if (!options.filter.empty() && test.name.find(options.filter) == std::string::npos)
            continue;
        Result result;
        result.name = test.name;
        std::string startNote;
        const std::string skip = SkipReason(test, machine);
        if (!skip.empty()) {
            result.outcome = {Verdict::Skipped, skip};
        } else {
            result.outputFile = "output\\" + OutputFileName(test.name);
            const std::string outputPath = Join(resultsDir, result.outputFile);
            bool timedOut = false;
            DWORD exitCode = 0;
            std::string failure;
            const ULONGLONG start = GetTickCount64();
            if (RunTest(test, bundle, outputPath,
                        TimeLimitMs(test, kDefaultTimeoutSeconds, options.timeScale), timedOut, exitCode,
                        failure, startNote)) {
                ReadFile(outputPath, result.output);
                result.outcome = Judge(test, timedOut, exitCode, result.output);
            } else {
                result.outcome = {Verdict::Failed, failure};
            }
            result.seconds = (GetTickCount64() - start) / 1000.0;
        }
        Print(ResultLine(result) + "\n", log);
        if (!startNote.empty())
            Print("           " + startNote + "\n", log);
        done.push_back(std::move(result));
    }

    const std::string summary = Summary(done);
    Print(summary, log);
    if (log)
        std::fclose(log);
    if (!WriteFile(Join(resultsDir, "junit.xml"), JUnitXml("Quillsuite", done)))
        std::fprintf(stderr, "runner: cannot write %s\n", Join(resultsDir, "junit.xml").c_str());
    for (const Result& result : done) {
        if (result.outcome.verdict == Verdict::Failed)
            return 1;
    }
    return 0;
}
