// Records the step marks of a program built for timing (AFX_STEP_MARK) in the block the
// timing program shares. Without the block (the variable unset, the section gone) a mark
// does nothing.
#include "StepMarkBlock.h"

using qs::bench::StepMarkBlock;

namespace {

StepMarkBlock* OpenBlock()
{
    char name[MAX_PATH];
    const DWORD n = ::GetEnvironmentVariableA(qs::bench::kStepMarkVariable, name, sizeof name);
    if (n == 0 || n >= sizeof name)
        return nullptr;
    HANDLE section = ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (!section)
        return nullptr;
    // The view stays for the life of the process; the handle is not needed for it.
    void* view = ::MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, sizeof(StepMarkBlock));
    ::CloseHandle(section);
    return static_cast<StepMarkBlock*>(view);
}

// Opened while the program's static objects are made, so that no mark pays for it.
StepMarkBlock* const g_block = OpenBlock();

} // namespace

void AfxStepMark(const char* pszStep)
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    if (!g_block)
        return;
    const LONG index = ::InterlockedIncrement(&g_block->count) - 1;
    if (index >= StepMarkBlock::kCapacity)
        return;
    lstrcpynA(g_block->marks[index].name, pszStep, sizeof g_block->marks[index].name);
    g_block->marks[index].ticks = now.QuadPart;
}
