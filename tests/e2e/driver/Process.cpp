#include "Process.h"

#include <cstdio>
#include <utility>

#include "Paths.h"
#include "Wait.h"
#include "Window.h"

namespace qs::e2e {

namespace {

constexpr unsigned kKillWaitMs = 5000;

struct EnumState
{
    DWORD processId;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindowOfProcess(HWND hwnd, LPARAM param)
{
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == state->processId)
        state->windows->push_back(hwnd);
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    std::vector<HWND> windows;
    EnumState state{processId, &windows};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&state));
    return windows;
}

Process::~Process()
{
    Close();
}

Process::Process(Process&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)),
      m_id(std::exchange(other.m_id, 0)),
      m_startError(other.m_startError)
{
}

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        Close();
        m_process = std::exchange(other.m_process, nullptr);
        m_id = std::exchange(other.m_id, 0);
        m_startError = other.m_startError;
    }
    return *this;
}

Process Process::Start(const std::string& program, const std::string& arguments,
                       const std::string& currentDirectory)
{
    const std::string path = WinPath(program);
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    return StartCommandLine(commandLine, currentDirectory, path);
}

Process Process::StartCommandLine(const std::string& commandLine, const std::string& currentDirectory,
                                  const std::string& applicationName)
{
    Process result;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string writable = commandLine; // CreateProcessA may write into its command line
    const std::string directory = currentDirectory.empty() ? "" : WinPath(currentDirectory);
    if (!CreateTestedProcess(applicationName.empty() ? nullptr : applicationName.c_str(), writable.data(),
                             FALSE, 0, directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        result.m_startError = GetLastError();
        return result;
    }
    CloseHandle(info.hThread);
    result.m_process = info.hProcess;
    result.m_id = info.dwProcessId;
    return result;
}

bool Process::WaitForExit(unsigned timeoutMs) const
{
    if (!m_process)
        return true;
    return WaitForSingleObject(m_process, Scaled(timeoutMs)) == WAIT_OBJECT_0;
}

bool Process::Running() const
{
    return m_process && !WaitForExit(0);
}

std::optional<DWORD> Process::ExitCode() const
{
    if (!m_process || Running())
        return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(m_process, &code))
        return std::nullopt;
    return code;
}

void Process::Kill()
{
    if (!Running())
        return;
    TerminateProcess(m_process, 1);
    WaitForExit(kKillWaitMs);
}

bool Process::WaitForInputIdle(unsigned timeoutMs) const
{
    return m_process && ::WaitForInputIdle(m_process, timeoutMs) == 0;
}

std::vector<HWND> Process::Windows() const
{
    return TopLevelWindowsOf(m_id);
}

HWND Process::FindTopWindow(const char* className, const char* title, bool visibleOnly) const
{
    if (!m_process)
        return nullptr;
    for (HWND hwnd : Windows()) {
        if (visibleOnly && !IsWindowVisible(hwnd))
            continue;
        if (className && ClassName(hwnd) != className)
            continue;
        if (title && Title(hwnd) != title)
            continue;
        return hwnd;
    }
    return nullptr;
}

HWND Process::WaitForTopWindow(const char* className, const char* title, unsigned timeoutMs,
                               bool visibleOnly) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, title, visibleOnly)) != nullptr; }, timeoutMs,
              20);
    return found;
}

void Process::Close()
{
    if (!m_process)
        return;
    Kill();
    CloseHandle(m_process);
    m_process = nullptr;
    m_id = 0;
}

BOOL CreateTestedProcess(const char* applicationName, char* commandLine, BOOL inheritHandles, DWORD flags,
                         const char* currentDirectory, STARTUPINFOA* startup, PROCESS_INFORMATION* info)
{
    constexpr int kTries = 3;
    for (int tries = 1;; ++tries) {
        if (CreateProcessA(applicationName, commandLine, nullptr, nullptr, inheritHandles, flags, nullptr,
                           currentDirectory, startup, info)) {
            if (tries > 1)
                std::fprintf(stderr, "note: %s started on try %d; the earlier tries ended in error %lu\n",
                             applicationName ? applicationName : commandLine, tries,
                             static_cast<unsigned long>(ERROR_INTERNAL_ERROR));
            return TRUE;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || tries == kTries) {
            SetLastError(error);
            return FALSE;
        }
        Sleep(1000);
    }
}

} // namespace qs::e2e
