// Times Upvane under Wine against yardsticks of the same kind, and prints a small table:
//   a  Upvane.exe started until its dialog is visible and its version line filled
//   b  minimal_dialog.exe started until its dialog is visible
//   p  platform_dialog.exe (Upvane's system calls on Upvane's resources, none of our code)
//      started until its dialog is visible and its version line filled
//   m  as a, of upvane_marked.exe (Upvane with its step marks recorded): the steps of a start
//   c  one check: BM_CLICK posted to Check until the progress bar reads 50
//   n  as c, of upvane_marked.exe: the steps of a check
//   q  as c, of platform_dialog.exe: the system calls of a check, none of our code
//   d  a bare WinINet GET of the same document, made in this program, step by step
//   e  one check as c, of an Upvane whose weblink is https://localhost:PORT (a TLS front with a
//      test authority trusted in this prefix for the run)
//   f  a bare WinINet GET of that https document, made in this program
// Each is taken once to warm up, then ROUNDS times (a, b, p and m take turns, as do c, n, q
// and d, and e and f, so a drift of the machine's load falls on both sides of a ratio). The
// steps of m, p, n and q are read from the marks the programs record (StepMarkBlock.h);
// the first step runs from CreateProcess (or the click) to the first mark, the last from the
// last mark until this program sees the result.
//
// upvane_timing [ROUNDS]     (default 15)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include "Files.h"
#include "HttpServer.h"
#include "Paths.h"
#include "Process.h"
#include "ScrambledSetFile.h"
#include "TempDir.h"
#include "TlsFront.h"
#include "Wait.h"
#include "Window.h"

#include "StepMarkBlock.h"

namespace {

using namespace qs::e2e;

const int kVersionText = 1008;
const int kProgress = 1009;
const int kCheck = 1012;
const int kProgressDone = 50;

const unsigned kTimeoutMs = 20000;
const unsigned kPollMs = 1;
const DWORD kReadSize = 200;
const char kDocumentPath[] = "/version.txt";
const char kDocument[] = "Sample App Version 3.2 Build 7\r\nrelease notes follow\r\n";

double TicksToMs(LONGLONG ticks);

double NowMs()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return TicksToMs(t.QuadPart);
}

std::string SetFileText(const std::string& webLink)
{
    return MakeSetFileText(ExampleValues(webLink));
}

struct Summary
{
    size_t count = 0;
    double median = 0, min = 0, max = 0, q1 = 0, q3 = 0;
};

double Quantile(const std::vector<double>& sorted, double q)
{
    const double pos = q * static_cast<double>(sorted.size() - 1);
    const size_t lo = static_cast<size_t>(pos);
    const size_t hi = std::min(lo + 1, sorted.size() - 1);
    return sorted[lo] + (sorted[hi] - sorted[lo]) * (pos - static_cast<double>(lo));
}

Summary Summarize(std::vector<double> samples)
{
    Summary s;
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    s.count = samples.size();
    s.median = Quantile(samples, 0.5);
    s.q1 = Quantile(samples, 0.25);
    s.q3 = Quantile(samples, 0.75);
    s.min = samples.front();
    s.max = samples.back();
    return s;
}

// The durations of named steps over several rounds, in the order the first round gave them.
class StepTimes
{
public:
    // Adds one round; false when its steps differ from the earlier rounds'.
    bool Add(const std::vector<std::pair<std::string, double>>& steps)
    {
        if (m_names.empty())
            for (const auto& step : steps) {
                m_names.push_back(step.first);
                m_samples.emplace_back();
            }
        if (steps.size() != m_names.size())
            return false;
        for (size_t i = 0; i < steps.size(); ++i) {
            if (steps[i].first != m_names[i])
                return false;
            m_samples[i].push_back(steps[i].second);
        }
        return true;
    }
    size_t Size() const { return m_names.size(); }
    const std::string& Name(size_t i) const { return m_names[i]; }
    Summary Step(size_t i) const { return Summarize(m_samples[i]); }

private:
    std::vector<std::string> m_names;
    std::vector<std::vector<double>> m_samples;
};

double TicksToMs(LONGLONG ticks)
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    return static_cast<double>(ticks) / ticksPerMs;
}

// The shared block the timed programs record their marks in; its name goes to them in this
// program's environment, which they inherit.
class StepMarkSection
{
public:
    StepMarkSection()
    {
        const std::string name = "qs-step-marks-" + std::to_string(GetCurrentProcessId());
        m_section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       sizeof(qs::bench::StepMarkBlock), name.c_str());
        if (m_section)
            m_block = static_cast<qs::bench::StepMarkBlock*>(
                MapViewOfFile(m_section, FILE_MAP_WRITE, 0, 0, sizeof(qs::bench::StepMarkBlock)));
        if (m_block)
            SetEnvironmentVariableA(qs::bench::kStepMarkVariable, name.c_str());
    }
    ~StepMarkSection()
    {
        SetEnvironmentVariableA(qs::bench::kStepMarkVariable, nullptr);
        if (m_block)
            UnmapViewOfFile(m_block);
        if (m_section)
            CloseHandle(m_section);
    }
    StepMarkSection(const StepMarkSection&) = delete;
    StepMarkSection& operator=(const StepMarkSection&) = delete;

    bool Ready() const { return m_block != nullptr; }
    void Reset() { InterlockedExchange(&m_block->count, 0); }

    // The steps from `startMs` over the marks recorded since the reset to `endMs`: each
    // named after the mark that ends it, the last `lastStep`.
    std::vector<std::pair<std::string, double>> Steps(double startMs, double endMs, const char* firstStep,
                                                      const char* lastStep) const
    {
        std::vector<std::pair<std::string, double>> steps;
        const LONG recorded = m_block->count;
        const LONG count = std::min(recorded, qs::bench::StepMarkBlock::kCapacity);
        double previous = startMs;
        for (LONG i = 0; i < count; ++i) {
            const double at = TicksToMs(m_block->marks[i].ticks);
            steps.emplace_back(i == 0 ? firstStep : m_block->marks[i].name, at - previous);
            previous = at;
        }
        steps.emplace_back(lastStep, endMs - previous);
        return steps;
    }

private:
    HANDLE m_section = nullptr;
    qs::bench::StepMarkBlock* m_block = nullptr;
};

// The program's visible dialog, polled every millisecond; nullptr after the timeout.
HWND WaitForDialog(const Process& program)
{
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = program.FindTopWindow("#32770", nullptr)) != nullptr; }, kTimeoutMs,
              kPollMs);
    return dialog;
}

void CloseProgram(Process& program, HWND dialog)
{
    if (dialog)
        PostClose(dialog);
    if (!program.WaitForExit(kTimeoutMs))
        program.Kill();
}

// a, p and m: from CreateProcess until the dialog shows and its initialisation filled the
// version line; b: until the dialog shows. With `marks` and `steps` (a kept round), the
// steps the program marked go to `steps`.
std::optional<double> TimeStart(const TempDir& folder, const char* program, bool versionLine,
                                StepMarkSection* marks = nullptr, StepTimes* steps = nullptr,
                                const std::string& arguments = "")
{
    if (marks)
        marks->Reset();
    const double start = NowMs();
    Process started = Process::Start(folder.File(program), arguments, folder.Path());
    if (!started.Started())
        return std::nullopt;
    HWND dialog = WaitForDialog(started);
    const bool shown = dialog
                       && (!versionLine
                           || WaitUntil(
                               [&] {
                                   const std::string text = TryText(Child(dialog, kVersionText)).value_or("");
                                   return !text.empty() && text != "Static";
                               },
                               kTimeoutMs, kPollMs));
    const double end = NowMs();
    const bool marked = !marks || !steps
                        || steps->Add(marks->Steps(
                            start, end, "process made, DLLs loaded, C run-time started", "shown and seen"));
    CloseProgram(started, dialog);
    return shown && marked ? std::optional<double>(end - start) : std::nullopt;
}

// c and n: one check of a running Upvane. The bar is reset first, so a bar left full by the
// previous check cannot end the wait early; the check runs in the dialog's thread, so a
// position query sent meanwhile is answered once the check has ended. With `marks` and
// `steps` (a kept round), the steps the program marked go to `steps`.
std::optional<double> TimeCheck(HWND dialog, StepMarkSection* marks = nullptr, StepTimes* steps = nullptr)
{
    HWND progress = Child(dialog, kProgress);
    if (!SendWithTimeout(progress, PBM_SETPOS, 0))
        return std::nullopt;
    if (marks)
        marks->Reset();
    const double start = NowMs();
    if (!Click(Child(dialog, kCheck)))
        return std::nullopt;
    const bool done =
        WaitUntil([&] { return ProgressPos(progress).value_or(0) == kProgressDone; }, kTimeoutMs, kPollMs);
    const double end = NowMs();
    const bool marked =
        !marks || !steps || steps->Add(marks->Steps(start, end, "click delivered", "progress 50 seen"));
    return done && marked ? std::optional<double>(end - start) : std::nullopt;
}

// Closes a WinINet handle when it goes.
struct InternetHandle
{
    explicit InternetHandle(HINTERNET h)
        : handle(h)
    {
    }
    ~InternetHandle()
    {
        if (handle)
            InternetCloseHandle(handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET handle;
};

// d: the same fetch as a check makes, with nothing around it: open a session, open the
// address with the check's flags, read once, close; each step's time goes to `steps`.
std::optional<double> TimeBareGet(const std::string& url, StepTimes* steps = nullptr)
{
    char buffer[kReadSize];
    DWORD received = 0;
    std::vector<std::pair<std::string, double>> marks;
    const double start = NowMs();
    double previous = start;
    const auto mark = [&](const char* step) {
        const double now = NowMs();
        marks.emplace_back(step, now - previous);
        previous = now;
    };
    {
        InternetHandle session(
            InternetOpenA("upvane_timing", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!session.handle)
            return std::nullopt;
        mark("session opened");
        InternetHandle file(
            InternetOpenUrlA(session.handle, url.c_str(), nullptr, 0, INTERNET_FLAG_TRANSFER_ASCII, 0));
        if (!file.handle)
            return std::nullopt;
        mark("address opened");
        if (!InternetReadFile(file.handle, buffer, kReadSize, &received))
            return std::nullopt;
        mark("document read");
    }
    mark("file and session closed");
    const double elapsed = NowMs() - start;
    if (steps && !steps->Add(marks))
        return std::nullopt;
    return received > 0 ? std::optional<double>(elapsed) : std::nullopt;
}

// Runs measurements in turn: one round each to warm up, then `rounds` kept.
using Measurement = std::function<std::optional<double>(bool keep)>;

bool TakeTurns(int rounds, const std::vector<Measurement>& measurements)
{
    for (int i = 0; i <= rounds; ++i)
        for (const auto& measure : measurements)
            if (!measure(i > 0))
                return false;
    return true;
}

// A measurement whose kept results go to `samples` (and its steps to `steps`, given the kept
// rounds only).
Measurement Kept(std::vector<double>& samples, std::function<std::optional<double>(StepTimes*)> measure,
                 StepTimes* steps = nullptr)
{
    return [&samples, measure, steps](bool keep) {
        const auto result = measure(keep ? steps : nullptr);
        if (result && keep)
            samples.push_back(*result);
        return result;
    };
}

void PrintSteps(const char* title, const StepTimes& steps, const StepTimes* baseline,
                const char* baselineName)
{
    std::printf("\n%-52s %9s %9s", title, "median", "q1-q3");
    if (baseline)
        std::printf(" %9s %9s", baselineName, "ours");
    std::printf("\n");
    double total = 0, baseTotal = 0;
    for (size_t i = 0; i < steps.Size(); ++i) {
        const Summary s = steps.Step(i);
        total += s.median;
        std::printf("  %-50s %9.2f %4.1f-%-4.1f", steps.Name(i).c_str(), s.median, s.q1, s.q3);
        if (baseline && i < baseline->Size() && baseline->Name(i) == steps.Name(i)) {
            const double base = baseline->Step(i).median;
            baseTotal += base;
            std::printf(" %9.2f %+9.2f", base, s.median - base);
        }
        std::printf("\n");
    }
    std::printf("  %-50s %9.2f", "sum of the medians", total);
    if (baseline)
        std::printf(" %19.2f %+9.2f", baseTotal, total - baseTotal);
    std::printf("\n");
}

void PrintRow(const char* label, const Summary& s)
{
    std::printf("%-52s %3zu %9.1f %9.1f %9.1f %9.1f %9.1f\n", label, s.count, s.median, s.q1, s.q3, s.min,
                s.max);
}

int Fail(const char* what)
{
    std::fprintf(stderr, "upvane_timing: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    if (rounds < 1)
        return Fail("ROUNDS must be at least 1");

    HttpServer server;
    if (!server.Listening())
        return Fail("cannot listen on 127.0.0.1");
    server.Serve(kDocumentPath, HttpReply::Ok(kDocument));
    StepMarkSection marks;
    if (!marks.Ready())
        return Fail("cannot share the block for the step marks");

    // Each program in a folder of its own, with the set file where it is read.
    TempDir folder("upvane-timing-");
    const char* const programs[][2] = {{"Upvane.exe", QS_PATH_UPVANE},
                                       {"minimal_dialog.exe", QS_PATH_MINIMAL_DIALOG},
                                       {"platform_dialog.exe", QS_PATH_PLATFORM_DIALOG},
                                       {"upvane_marked.exe", QS_PATH_UPVANE_MARKED}};
    if (!folder.Write("product.set", SetFileText(server.Address())))
        return Fail("cannot write the set file");
    for (const auto& program : programs)
        if (!CopyFileTo(WinPath(program[1]), folder.File(program[0])))
            return Fail("cannot copy the programs");

    const std::string url = server.Url(kDocumentPath);
    std::vector<double> upvaneStart, minimalStart, platformStart, markedStart;
    StepTimes upvaneSteps, platformSteps;
    if (!TakeTurns(
            rounds,
            {Kept(upvaneStart, [&](StepTimes*) { return TimeStart(folder, "Upvane.exe", true); }),
             Kept(minimalStart, [&](StepTimes*) { return TimeStart(folder, "minimal_dialog.exe", false); }),
             Kept(
                 platformStart,
                 [&](StepTimes* steps) {
                     return TimeStart(folder, "platform_dialog.exe", true, &marks, steps, url);
                 },
                 &platformSteps),
             Kept(
                 markedStart,
                 [&](StepTimes* steps) {
                     return TimeStart(folder, "upvane_marked.exe", true, &marks, steps);
                 },
                 &upvaneSteps)}))
        return Fail("a program did not start, show its dialog or mark its steps in time");

    Process upvane = Process::Start(folder.File("Upvane.exe"), "", folder.Path());
    HWND dialog = upvane.Started() ? WaitForDialog(upvane) : nullptr;
    Process marked = Process::Start(folder.File("upvane_marked.exe"), "", folder.Path());
    HWND markedDialog = marked.Started() ? WaitForDialog(marked) : nullptr;
    Process platform = Process::Start(folder.File("platform_dialog.exe"), url, folder.Path());
    HWND platformDialog = platform.Started() ? WaitForDialog(platform) : nullptr;
    if (!dialog || !markedDialog || !platformDialog)
        return Fail("Upvane or the platform's dialog did not show its dialog");
    const size_t requestsBefore = server.RequestCount();
    std::vector<double> check, markedCheck, platformCheck, bareGet;
    StepTimes checkSteps, platformCheckSteps, getSteps;
    const bool checked = TakeTurns(
        rounds,
        {Kept(check, [&](StepTimes*) { return TimeCheck(dialog); }),
         Kept(
             markedCheck, [&](StepTimes* steps) { return TimeCheck(markedDialog, &marks, steps); },
             &checkSteps),
         Kept(
             platformCheck, [&](StepTimes* steps) { return TimeCheck(platformDialog, &marks, steps); },
             &platformCheckSteps),
         Kept(
             bareGet, [&](StepTimes* steps) { return TimeBareGet(url, steps); }, &getSteps)});
    const std::string versionLine = TryText(Child(dialog, kVersionText)).value_or("");
    const std::string markedLine = TryText(Child(markedDialog, kVersionText)).value_or("");
    const std::string platformLine = TryText(Child(platformDialog, kVersionText)).value_or("");
    CloseProgram(upvane, dialog);
    CloseProgram(marked, markedDialog);
    CloseProgram(platform, platformDialog);
    if (!checked)
        return Fail("a check or a GET did not end in time, or a check's steps differed");
    // Every check and every GET reached the server: none was answered from a cache.
    const size_t requests = server.RequestCount() - requestsBefore;
    if (requests != 4 * static_cast<size_t>(rounds + 1))
        std::fprintf(stderr, "upvane_timing: %zu requests for %d checks and GETs\n", requests,
                     4 * (rounds + 1));
    for (const std::string& line : {versionLine, markedLine, platformLine})
        if (line.find("Available Version:  Sample App Version 3.2 Build 7") == std::string::npos)
            return Fail("the check did not show the available version");

    // e and f: the same pair over HTTPS, the documents passed on by a TLS front.
    TlsFront front(server);
    if (!front.Ready())
        return Fail(("no TLS front: " + front.Failure()).c_str());
    TempDir secureFolder("upvane-timing-https-");
    const std::string secureLink = TlsFront::Url(front.TrustedPort());
    if (!CopyFileTo(QS_DELIVERABLE(UPVANE), secureFolder.File("Upvane.exe"))
        || !secureFolder.Write("product.set", SetFileText(secureLink)))
        return Fail("cannot prepare the https program's folder");
    Process secureUpvane = Process::Start(secureFolder.File("Upvane.exe"), "", secureFolder.Path());
    HWND secureDialog = secureUpvane.Started() ? WaitForDialog(secureUpvane) : nullptr;
    if (!secureDialog)
        return Fail("the https Upvane did not show its dialog");
    std::vector<double> secureCheck, secureGet;
    const bool secureChecked = TakeTurns(
        rounds, {Kept(secureCheck, [&](StepTimes*) { return TimeCheck(secureDialog); }),
                 Kept(secureGet, [&](StepTimes*) { return TimeBareGet(secureLink + kDocumentPath); })});
    const std::string secureLine = TryText(Child(secureDialog, kVersionText)).value_or("");
    CloseProgram(secureUpvane, secureDialog);
    if (!secureChecked)
        return Fail("an https check or GET did not end in time");
    if (secureLine.find("Available Version:  Sample App Version 3.2 Build 7") == std::string::npos)
        return Fail("the https check did not show the available version");

    const Summary a = Summarize(upvaneStart), b = Summarize(minimalStart);
    const Summary pl = Summarize(platformStart), m = Summarize(markedStart);
    const Summary c = Summarize(check), n = Summarize(markedCheck), q = Summarize(platformCheck);
    const Summary d = Summarize(bareGet);
    const Summary e = Summarize(secureCheck), f = Summarize(secureGet);
    std::printf("%-52s %3s %9s %9s %9s %9s %9s\n", "milliseconds", "n", "median", "q1", "q3", "min", "max");
    PrintRow("a  Upvane start to dialog with version line", a);
    PrintRow("b  minimal dialog start to dialog", b);
    PrintRow("p  platform share: start to dialog with version line", pl);
    PrintRow("m  Upvane with step marks, as a", m);
    PrintRow("c  Upvane check, click to progress 50", c);
    PrintRow("n  Upvane with step marks, as c", n);
    PrintRow("q  platform share of a check, as c", q);
    PrintRow("d  bare WinINet GET (open, read 200, close)", d);
    PrintRow("e  https check, click to progress 50", e);
    PrintRow("f  bare WinINet https GET", f);
    PrintSteps("start-up, step by step (m; p the platform share)", upvaneSteps, &platformSteps, "platform");
    PrintSteps("check, step by step (n; q the platform share)", checkSteps, &platformCheckSteps, "platform");
    PrintSteps("bare GET, step by step (d)", getSteps, nullptr, nullptr);
    std::printf("\nratio a/b  %.2f   (a - b = %.1f ms)\n", a.median / b.median, a.median - b.median);
    std::printf("ratio a/p  %.2f   (a - p = %.1f ms; goal: at most 1.10)\n", a.median / pl.median,
                a.median - pl.median);
    std::printf("ratio m/p  %.2f   (m - p = %.1f ms)\n", m.median / pl.median, m.median - pl.median);
    std::printf("ratio c/d  %.2f   (c - d = %.1f ms; goal: at most 1.5)\n", c.median / d.median,
                c.median - d.median);
    std::printf("ratio c/q  %.2f   (c - q = %.1f ms)\n", c.median / q.median, c.median - q.median);
    std::printf("ratio q/d  %.2f   (q - d = %.1f ms)\n", q.median / d.median, q.median - d.median);
    std::printf("ratio e/f  %.2f   (e - f = %.1f ms)\n", e.median / f.median, e.median - f.median);
    return 0;
}
