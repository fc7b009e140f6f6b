// A stand-in for Quillory.exe: records when its process was created, as which file, in which
// current directory, at which screen width and how it was asked to show, then ends without
// showing anything.
#include <string>

#include <windows.h>

#include "RunRecords.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const double started = qs::e2e::tools::CreationMs(GetCurrentProcess());
    char module[MAX_PATH * 2] = {};
    const DWORD moduleLength = GetModuleFileNameA(nullptr, module, sizeof module);
    std::string name(module, moduleLength);
    name = name.substr(name.find_last_of('\\') + 1);
    char directory[MAX_PATH * 2] = {};
    const DWORD directoryLength = GetCurrentDirectoryA(sizeof directory, directory);
    // How the starter asked it to show its window (-1: it did not say).
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    qs::e2e::tools::AppendRecord(qs::e2e::tools::kStartLogVariable,
                                 std::to_string(static_cast<long long>(started)) + "|" + name + "|"
                                     + std::string(directory, directoryLength) + "|"
                                     + std::to_string(GetSystemMetrics(SM_CXFULLSCREEN)) + "|"
                                     + std::to_string(show));
    return 0;
}
