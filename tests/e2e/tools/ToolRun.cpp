#include "ToolRun.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <thread>

#include "Files.h"
#include "Paths.h"
#include "Process.h"
#include "RunRecords.h"
#include "Wait.h"

namespace qs::e2e::tools {

namespace {

constexpr unsigned kEditorEndTimeoutMs = 10000;

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

// True when the program's file is named "regedit.exe", wherever it lies.
bool IsEditor(const std::string& image)
{
    const auto slash = image.find_last_of("\\/");
    return lstrcmpiA(image.c_str() + (slash == std::string::npos ? 0 : slash + 1), "regedit.exe") == 0;
}

// Every process the tool starts, children of its children included. The tool is put in a job
// of its own before it runs, and the job reports each new process to a completion port as the
// process is made, before the program that starts it goes on; so no start is missed however
// short the new process's life. Each is opened as soon as its report is read, which keeps it
// readable after it has ended. Its creation time and its program's path are read at the end:
// while a new process is still being set up, Wine gives neither.
class ChildWatch
{
public:
    ChildWatch()
        : m_job(CreateJobObjectA(nullptr, nullptr)),
          m_port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1))
    {
    }
    ~ChildWatch() { Stop(); }
    ChildWatch(const ChildWatch&) = delete;
    ChildWatch& operator=(const ChildWatch&) = delete;

    // Puts the tool (not yet running) in the job and starts reading the reports. False, with
    // the reason on the error output, when the job cannot hold it.
    bool Follow(HANDLE tool, DWORD toolId)
    {
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT port = {};
        port.CompletionKey = m_job.get();
        port.CompletionPort = m_port.get();
        if (!m_job || !m_port
            || !SetInformationJobObject(m_job.get(), JobObjectAssociateCompletionPortInformation, &port,
                                        sizeof port)
            || !AssignProcessToJobObject(m_job.get(), tool)) {
            std::fprintf(stderr, "tool run: the tool's starts cannot be followed (error %lu)\n",
                         GetLastError());
            return false;
        }
        m_toolId = toolId;
        m_thread = std::thread([this] { Read(); });
        return true;
    }
    // Reads the reports queued so far, then stops. A report of a start is queued before the
    // program that made the start goes on, so once the tool has ended all of its starts are read.
    void Stop()
    {
        if (!m_thread.joinable())
            return;
        PostQueuedCompletionStatus(m_port.get(), 0, kStopKey, nullptr);
        m_thread.join();
    }
    // Waits, bounded, for every registry editor the tool started to end. Call after Stop.
    void WaitForEditors(unsigned timeoutMs) const
    {
        std::vector<HANDLE> handles;
        for (const auto& child : m_children)
            if (child.handle && IsEditor(ImagePath(child.handle.get())))
                handles.push_back(child.handle.get());
        if (!handles.empty())
            WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE,
                                   Scaled(timeoutMs));
    }
    // Call after Stop.
    std::vector<ToolChild> Children() const
    {
        std::vector<ToolChild> children;
        for (const auto& child : m_children) {
            ToolChild start{child.processId, child.reportMs, std::string()};
            if (child.handle) {
                const double created = CreationMs(child.handle.get());
                if (created >= 0)
                    start.createdMs = created;
                start.image = ImagePath(child.handle.get());
            }
            children.push_back(start);
        }
        return children;
    }

private:
    static constexpr ULONG_PTR kStopKey = 1;

    struct Child
    {
        DWORD processId;
        double reportMs;     // when its report was read
        UniqueHandle handle; // null when it had ended before then
    };

    void Read()
    {
        for (;;) {
            DWORD message = 0;
            ULONG_PTR key = 0;
            LPOVERLAPPED detail = nullptr;
            if (!GetQueuedCompletionStatus(m_port.get(), &message, &key, &detail, INFINITE)
                || key == kStopKey)
                return;
            const auto processId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail));
            if (message != JOB_OBJECT_MSG_NEW_PROCESS || processId == m_toolId)
                continue;
            // The report's own time stands in when the process is already gone.
            m_children.push_back(
                Child{processId, NowMs(),
                      UniqueHandle(
                          OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId))});
        }
    }

    UniqueHandle m_job;
    UniqueHandle m_port;
    DWORD m_toolId = 0;
    std::vector<Child> m_children; // written by the reading thread only until Stop
    std::thread m_thread;
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
    ChildWatch children;
    if (!children.Follow(info.hProcess, info.dwProcessId)) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, Scaled(options.timeoutMs));
        return result;
    }
    result.started = true;
    result.startMs = CreationMs(info.hProcess);
    ResumeThread(info.hThread);

    result.exited = WaitForSingleObject(info.hProcess, Scaled(options.timeoutMs)) == WAIT_OBJECT_0;
    if (!result.exited) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, Scaled(options.timeoutMs));
    }
    children.Stop();
    children.WaitForEditors(kEditorEndTimeoutMs);
    result.children = children.Children();
    for (const auto& child : result.children)
        if (IsEditor(child.image))
            result.regedits.push_back(child);
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
