// Times Upvane under Wine against yardsticks of the same kind, and prints a small table:
//   a  Upvane.exe started until its dialog is visible and its version line filled
//   b  minimal_dialog.exe started until its dialog is visible
//   c  one check: BM_CLICK posted to Check until the progress bar reads 50
//   d  a bare WinINet GET of the same document, made in this program
//   e  one check as c, of an Upvane whose weblink is https://localhost:PORT (a TLS front with a
//      test authority trusted in this prefix for the run)
//   f  a bare WinINet GET of that https document, made in this program
// Each is taken once to warm up, then ROUNDS times (a and b alternate, as do c and d, e and f, so a
// drift of the machine's load falls on both sides of a ratio).
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

double NowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
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

// a: from CreateProcess until the dialog shows and its initialisation filled the version line.
std::optional<double> TimeUpvaneStart(const TempDir& folder)
{
    const double start = NowMs();
    Process program = Process::Start(folder.File("Upvane.exe"), "", folder.Path());
    if (!program.Started())
        return std::nullopt;
    HWND dialog = WaitForDialog(program);
    const bool filled = dialog
                        && WaitUntil(
                            [&] {
                                const std::string text = TryText(Child(dialog, kVersionText)).value_or("");
                                return !text.empty() && text != "Static";
                            },
                            kTimeoutMs, kPollMs);
    const double elapsed = NowMs() - start;
    CloseProgram(program, dialog);
    return filled ? std::optional<double>(elapsed) : std::nullopt;
}

// b: from CreateProcess until the minimal dialog shows.
std::optional<double> TimeMinimalStart(const TempDir& folder)
{
    const double start = NowMs();
    Process program = Process::Start(folder.File("minimal_dialog.exe"), "", folder.Path());
    if (!program.Started())
        return std::nullopt;
    HWND dialog = WaitForDialog(program);
    const double elapsed = NowMs() - start;
    CloseProgram(program, dialog);
    return dialog ? std::optional<double>(elapsed) : std::nullopt;
}

// c: one check of a running Upvane. The bar is reset first, so a bar left full by the
// previous check cannot end the wait early; the check runs in the dialog's thread, so a
// position query sent meanwhile is answered once the check has ended.
std::optional<double> TimeCheck(HWND dialog)
{
    HWND progress = Child(dialog, kProgress);
    if (!SendWithTimeout(progress, PBM_SETPOS, 0))
        return std::nullopt;
    const double start = NowMs();
    if (!Click(Child(dialog, kCheck)))
        return std::nullopt;
    const bool done =
        WaitUntil([&] { return ProgressPos(progress).value_or(0) == kProgressDone; }, kTimeoutMs, kPollMs);
    const double elapsed = NowMs() - start;
    return done ? std::optional<double>(elapsed) : std::nullopt;
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
// address with the check's flags, read once, close.
std::optional<double> TimeBareGet(const std::string& url)
{
    char buffer[kReadSize];
    DWORD received = 0;
    const double start = NowMs();
    {
        InternetHandle session(
            InternetOpenA("upvane_timing", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!session.handle)
            return std::nullopt;
        InternetHandle file(
            InternetOpenUrlA(session.handle, url.c_str(), nullptr, 0, INTERNET_FLAG_TRANSFER_ASCII, 0));
        if (!file.handle || !InternetReadFile(file.handle, buffer, kReadSize, &received))
            return std::nullopt;
    }
    const double elapsed = NowMs() - start;
    return received > 0 ? std::optional<double>(elapsed) : std::nullopt;
}

// Runs two measurements alternately: one round each to warm up, then `rounds` kept.
bool Alternate(int rounds, const std::function<std::optional<double>()>& first,
               const std::function<std::optional<double>()>& second, std::vector<double>& firstMs,
               std::vector<double>& secondMs)
{
    for (int i = 0; i <= rounds; ++i) {
        const auto x = first();
        const auto y = second();
        if (!x || !y)
            return false;
        if (i > 0) {
            firstMs.push_back(*x);
            secondMs.push_back(*y);
        }
    }
    return true;
}

void PrintRow(const char* label, const Summary& s)
{
    std::printf("%-44s %3zu %9.1f %9.1f %9.1f %9.1f %9.1f\n", label, s.count, s.median, s.q1, s.q3, s.min,
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

    TempDir upvaneFolder("upvane-timing-");
    TempDir minimalFolder("minimal-timing-");
    if (!CopyFileTo(QS_DELIVERABLE(UPVANE), upvaneFolder.File("Upvane.exe"))
        || !upvaneFolder.Write("product.set", SetFileText(server.Address()))
        || !CopyFileTo(QS_DELIVERABLE(MINIMAL_DIALOG), minimalFolder.File("minimal_dialog.exe")))
        return Fail("cannot prepare the programs' folders");

    std::vector<double> upvaneStart, minimalStart, check, bareGet;
    if (!Alternate(
            rounds, [&] { return TimeUpvaneStart(upvaneFolder); },
            [&] { return TimeMinimalStart(minimalFolder); }, upvaneStart, minimalStart))
        return Fail("a program did not start or show its dialog in time");

    Process upvane = Process::Start(upvaneFolder.File("Upvane.exe"), "", upvaneFolder.Path());
    HWND dialog = upvane.Started() ? WaitForDialog(upvane) : nullptr;
    if (!dialog)
        return Fail("Upvane did not show its dialog");
    const size_t requestsBefore = server.RequestCount();
    const std::string url = server.Url(kDocumentPath);
    const bool checked = Alternate(
        rounds, [&] { return TimeCheck(dialog); }, [&] { return TimeBareGet(url); }, check, bareGet);
    const std::string versionLine = TryText(Child(dialog, kVersionText)).value_or("");
    CloseProgram(upvane, dialog);
    if (!checked)
        return Fail("a check or a GET did not end in time");
    // Every check and every GET reached the server: none was answered from a cache.
    const size_t requests = server.RequestCount() - requestsBefore;
    if (requests != 2 * static_cast<size_t>(rounds + 1))
        std::fprintf(stderr, "upvane_timing: %zu requests for %d checks and GETs\n", requests,
                     2 * (rounds + 1));
    if (versionLine.find("Available Version:  Sample App Version 3.2 Build 7") == std::string::npos)
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
    const bool secureChecked = Alternate(
        rounds, [&] { return TimeCheck(secureDialog); },
        [&] { return TimeBareGet(secureLink + kDocumentPath); }, secureCheck, secureGet);
    const std::string secureLine = TryText(Child(secureDialog, kVersionText)).value_or("");
    CloseProgram(secureUpvane, secureDialog);
    if (!secureChecked)
        return Fail("an https check or GET did not end in time");
    if (secureLine.find("Available Version:  Sample App Version 3.2 Build 7") == std::string::npos)
        return Fail("the https check did not show the available version");

    const Summary a = Summarize(upvaneStart), b = Summarize(minimalStart);
    const Summary c = Summarize(check), d = Summarize(bareGet);
    std::printf("%-44s %3s %9s %9s %9s %9s %9s\n", "milliseconds", "n", "median", "q1", "q3", "min", "max");
    PrintRow("a  Upvane start to dialog with version line", a);
    PrintRow("b  minimal dialog start to dialog", b);
    PrintRow("c  Upvane check, click to progress 50", c);
    PrintRow("d  bare WinINet GET (open, read 200, close)", d);
    const Summary e = Summarize(secureCheck), f = Summarize(secureGet);
    PrintRow("e  https check, click to progress 50", e);
    PrintRow("f  bare WinINet https GET", f);
    std::printf("ratio a/b  %.2f   (a - b = %.1f ms)\n", a.median / b.median, a.median - b.median);
    std::printf("ratio c/d  %.2f   (c - d = %.1f ms)\n", c.median / d.median, c.median - d.median);
    std::printf("ratio e/f  %.2f   (e - f = %.1f ms)\n", e.median / f.median, e.median - f.median);
    return 0;
}
