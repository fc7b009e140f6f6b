#include "ToolRun.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include <tlhelp32.h>

#include "Files.h"
#include "Paths.h"
#include "Process.h"
#include "RunRecords.h"
#include "Wait.h"

namespace qs::e2e::tools {

namespace {

constexpr unsigned kRegeditPollMs = 2;
// Editors are started before the tool ends; this covers the poll's own delay.
constexpr unsigned kRegeditGraceMs = 300;
constexpr unsigned kRegeditEndTimeoutMs = 10000;

struct HandleCloser
{
    void operator()(HANDLE handle) const
    {
        if (handle)
            CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct HookRemover
{
    void operator()(HHOOK hook) const
    {
        if (hook)
            UnhookWindowsHookEx(hook);
    }
};
using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover>;

struct ModuleFreer
{
    void operator()(HMODULE module) const
    {
        if (module)
            FreeLibrary(module);
    }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

std::string ImagePath(HANDLE process)
{
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process, 0, path, &size))
        return std::string();
    return std::string(path, size);
}

// Polls the process list for "regedit.exe" children of one process, from its own thread.
class RegeditSpotter
{
public:
    explicit RegeditSpotter(DWORD parentId)
        : m_parentId(parentId),
          m_thread([this] { Poll(); })
    {
    }
    ~RegeditSpotter() { Stop(); }
    RegeditSpotter(const RegeditSpotter&) = delete;
    RegeditSpotter& operator=(const RegeditSpotter&) = delete;

    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    std::vector<RegeditStart> Starts() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_starts;
    }
    // Waits, bounded, for every spotted editor to end.
    void WaitForEnds(unsigned timeoutMs) const
    {
        std::vector<HANDLE> handles;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (const auto& handle : m_handles)
                handles.push_back(handle.get());
        }
        if (!handles.empty())
            WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE,
                                   Scaled(timeoutMs));
    }

private:
    void Poll()
    {
        while (!m_stop) {
            Snapshot();
            Sleep(kRegeditPollMs);
        }
    }
    void Snapshot()
    {
        UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (snapshot.get() == INVALID_HANDLE_VALUE) {
            snapshot.release();
            return;
        }
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot.get(), &entry); more;
             more = Process32Next(snapshot.get(), &entry)) {
            if (entry.th32ParentProcessID != m_parentId || lstrcmpiA(entry.szExeFile, "regedit.exe") != 0)
                continue;
            std::lock_guard<std::mutex> lock(m_mutex);
            bool known = false;
            for (const auto& start : m_starts)
                known = known || start.processId == entry.th32ProcessID;
            if (known)
                continue;
            // The poll's own time stands in when the process is already gone.
            RegeditStart start{entry.th32ProcessID, NowMs(), std::string()};
            if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                             entry.th32ProcessID)) {
                const double created = CreationMs(process);
                if (created >= 0)
                    start.createdMs = created;
                start.image = ImagePath(process);
                m_handles.emplace_back(process);
            }
            m_starts.push_back(start);
        }
    }

    const DWORD m_parentId;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<RegeditStart> m_starts;
    std::vector<UniqueHandle> m_handles;
    std::thread m_thread; // last: starts once the members above exist
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

// "<ms> <event...>" split in two.
bool SplitWatchLine(const std::string& line, double& ms, std::string& event)
{
    const auto blank = line.find(' ');
    if (blank == std::string::npos)
        return false;
    ms = std::stod(line.substr(0, blank));
    event = line.substr(blank + 1);
    return true;
}

} // namespace

ToolRunResult RunTool(const ToolRunOptions& options)
{
    ToolRunResult result;
    UniqueModule watch;
    HOOKPROC watchProc = nullptr;
    if (!options.watchLog.empty()) {
        SetEnvironmentVariableA(kWatchLogVariable, options.watchLog.c_str());
        RemoveTree(options.watchLog);
        watch.reset(LoadLibraryA(TestedWinPath(QS_PATH_TOOLS_SHOW_WATCH).c_str()));
        watchProc = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void (*)()>(GetProcAddress(watch.get(), "ToolsShowWatchProc")));
        if (!watchProc)
            return result;
    }

    const std::string program = WinPath(options.program);
    std::string commandLine = "\"" + program + "\"";
    if (!options.arguments.empty())
        commandLine += " " + options.arguments;
    std::string desktop = options.desktop;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!desktop.empty())
        startup.lpDesktop = desktop.data();
    PROCESS_INFORMATION info = {};
    if (!CreateTestedProcess(program.c_str(), commandLine.data(), FALSE, CREATE_SUSPENDED,
                             options.currentDirectory.c_str(), &startup, &info))
        return result;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);

    UniqueHook hook;
    if (watchProc) {
        hook.reset(SetWindowsHookExA(WH_CALLWNDPROC, watchProc, watch.get(), info.dwThreadId));
        if (!hook) {
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, Scaled(options.timeoutMs));
            return result;
        }
    }
    RegeditSpotter spotter(info.dwProcessId);
    result.started = true;
    result.startMs = CreationMs(info.hProcess);
    ResumeThread(info.hThread);

    result.exited = WaitForSingleObject(info.hProcess, Scaled(options.timeoutMs)) == WAIT_OBJECT_0;
    if (!result.exited) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, Scaled(options.timeoutMs));
    }
    Sleep(kRegeditGraceMs);
    spotter.Stop();
    spotter.WaitForEnds(kRegeditEndTimeoutMs);
    result.regedits = spotter.Starts();
    if (!options.watchLog.empty()) {
        if (auto text = ReadFileBytes(options.watchLog))
            result.watch = Lines(*text);
    }
    return result;
}

double WatchTime(const ToolRunResult& run, const std::string& event)
{
    for (const auto& line : run.watch) {
        double ms = 0;
        std::string what;
        if (SplitWatchLine(line, ms, what) && what == event)
            return ms;
    }
    return -1;
}

bool WatchHas(const ToolRunResult& run, const std::string& event)
{
    for (const auto& line : run.watch) {
        double ms = 0;
        std::string what;
        if (SplitWatchLine(line, ms, what) && what.compare(0, event.size(), event) == 0)
            return true;
    }
    return false;
}

} // namespace qs::e2e::tools
