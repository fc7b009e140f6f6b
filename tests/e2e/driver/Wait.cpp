#include "Wait.h"

#include <windows.h>

namespace qs::e2e {

namespace {

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs, unsigned pollMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        PumpPending();
        Sleep(pollMs);
    }
}

void PumpFor(unsigned ms)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    do {
        PumpPending();
        Sleep(5);
    } while (GetTickCount64() < deadline);
}

} // namespace qs::e2e
