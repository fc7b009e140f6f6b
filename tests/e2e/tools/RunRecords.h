// What the programs planted around a tool run record, and where: the show watch (a hook
// inside the tool) and the Quillory stand-in each append lines to a file named by an
// environment variable, which the tool and its children inherit from the test.
#pragma once

#include <string>

#include <windows.h>

namespace qs::e2e::tools {

// The show watch's log: "<ms> init", "<ms> icon big|small", "<ms> shown <title>",
// "<ms> destroyed".
constexpr char kWatchLogVariable[] = "QS_TOOLS_WATCH_LOG";
// The stand-in's log, one line per start:
// "<creation ms>|<program file name>|<current directory>|<width>|<show command or -1>".
constexpr char kStartLogVariable[] = "QS_TOOLS_START_LOG";

// A folder standing for the user's own Windows folder on a Remote Desktop session host:
// when set, the show watch makes the tool's GetWindowsDirectoryA answer it.
constexpr char kUserWindowsVariable[] = "QS_TOOLS_USER_WINDOWS";

// A system time in milliseconds, comparable between processes.
inline double ToMs(const FILETIME& time)
{
    ULARGE_INTEGER ticks = {};
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / 10000.0;
}

inline double NowMs()
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    return ToMs(now);
}

// When `process` was created, in the same milliseconds; negative when unknown.
inline double CreationMs(HANDLE process)
{
    FILETIME created = {}, exited = {}, kernel = {}, user = {};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    return ToMs(created);
}

// Appends `line` and a line feed to the file named by `variable`; nothing when it is unset.
inline void AppendRecord(const char* variable, const std::string& line)
{
    char path[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA(variable, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace qs::e2e::tools
