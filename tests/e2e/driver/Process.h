// A program started by a test: bounded waits, its exit code, its top-level windows, and
// termination when the object goes while the program still runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace qs::e2e {

class Process
{
public:
    Process() = default;
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts `program` (Windows or Unix path) with the command line "\"program\" arguments"
    // in `currentDirectory` ("" = the test's own). Check Started() for the result.
    static Process Start(const std::string& program, const std::string& arguments = "",
                         const std::string& currentDirectory = "");
    // Starts with an exact command line; the program is the command line's first word
    // unless `applicationName` names it.
    static Process StartCommandLine(const std::string& commandLine, const std::string& currentDirectory = "",
                                    const std::string& applicationName = "");

    bool Started() const { return m_process != nullptr; }
    // GetLastError() of a failed start.
    DWORD StartError() const { return m_startError; }
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process; }

    // True once the program has ended (waiting at most `timeoutMs`).
    bool WaitForExit(unsigned timeoutMs) const;
    bool Running() const;
    // The exit code; nothing while the program runs or if it never started.
    std::optional<DWORD> ExitCode() const;
    // Ends the program (if it runs) and waits for it, bounded.
    void Kill();

    // WaitForInputIdle, bounded.
    bool WaitForInputIdle(unsigned timeoutMs) const;

    // Top-level windows of the program, visible or not, in Z order.
    std::vector<HWND> Windows() const;
    // The first top-level window of the program with that class and title (nullptr = any);
    // only visible ones when `visibleOnly`.
    HWND FindTopWindow(const char* className, const char* title, bool visibleOnly = true) const;
    // FindTopWindow, polled until found or `timeoutMs` has passed (then nullptr).
    HWND WaitForTopWindow(const char* className, const char* title, unsigned timeoutMs,
                          bool visibleOnly = true) const;

private:
    void Close();

    HANDLE m_process = nullptr;
    DWORD m_id = 0;
    DWORD m_startError = 0;
};

// Top-level windows owned by any thread of process `processId`, visible or not.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

// CreateProcessA for the programs a test starts. Under load Wine now and then ends a new
// process while it sets it up, and CreateProcess answers ERROR_INTERNAL_ERROR: that says
// nothing about the program, so the start is tried up to three times, 1 s apart, and a later
// try is reported on the test's error output. Any other failure is returned at once.
BOOL CreateTestedProcess(const char* applicationName, char* commandLine, BOOL inheritHandles, DWORD flags,
                         const char* currentDirectory, STARTUPINFOA* startup, PROCESS_INFORMATION* info);

} // namespace qs::e2e
