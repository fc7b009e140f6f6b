// The block a timed program records its step marks in: a named section of shared memory
// that the timing program makes, names in the environment variable below and reads after
// each run.
#pragma once

#include <windows.h>

namespace qs::bench {

// Environment variable holding the name of the shared section.
inline constexpr char kStepMarkVariable[] = "QS_STEP_MARKS";

struct StepMark
{
    char name[56];
    LONGLONG ticks; // QueryPerformanceCounter, which every process of the machine shares
};

struct StepMarkBlock
{
    static constexpr LONG kCapacity = 64;
    volatile LONG count; // marks recorded; beyond the capacity only counted
    StepMark marks[kCapacity];
};

} // namespace qs::bench
