// One run of a setup tool as the tests see it: started with a chosen current directory
// (and desktop), watched from inside by the show watch, every process it starts followed
// from outside, and waited for.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace qs::e2e::tools {

struct ToolRunOptions
{
    std::string program;          // the tool (Windows or Unix path)
    std::string arguments;        // what follows the quoted program on the command line
    std::string currentDirectory; // Windows path
    std::string desktop;          // "" = the test's own desktop
    std::string watchLog;         // where the show watch records (Windows path); "" = no
                                  // watch (under Wine, a program hooked before it starts on
                                  // another desktop does not get that desktop's size)
    unsigned timeoutMs = 15000;
};

struct ToolChild
{
    DWORD processId = 0;
    double createdMs = 0; // when its process was created
    std::string image;    // its program file's full path; empty when it had ended before it
                          // could be opened
};

struct ToolRunResult
{
    bool started = false;
    bool exited = false;
    double startMs = 0;              // when the tool's process was created
    std::vector<std::string> watch;  // the show watch's lines
    std::vector<ToolChild> children; // every process the tool started, in order
    std::vector<ToolChild> regedits; // those of them whose program is a "regedit.exe"
};

// Starts the tool suspended, puts the show watch on its main thread, lets it run, and
// follows it until it ends (bounded), then waits (bounded) for the registry editors it
// started to end, so that their imports are complete.
ToolRunResult RunTool(const ToolRunOptions& options);

// The time of the first show-watch line with that event ("init", "destroyed", ...);
// negative when there is none.
double WatchTime(const ToolRunResult& run, const std::string& event);
// True when the event of some show-watch line starts with `event`.
bool WatchHas(const ToolRunResult& run, const std::string& event);

} // namespace qs::e2e::tools
