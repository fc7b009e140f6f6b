#include "Wait.h"

#include <cstdlib>

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

unsigned ScaleFromEnvironment()
{
    char text[16] = {};
    const DWORD n = GetEnvironmentVariableA("QS_WAIT_SCALE", text, sizeof text);
    const unsigned long scale = n > 0 && n < sizeof text ? std::strtoul(text, nullptr, 10) : 1;
    return scale >= 1 && scale <= 100 ? static_cast<unsigned>(scale) : 1;
}

} // namespace

unsigned Scaled(unsigned ms)
{
    static const unsigned scale = ScaleFromEnvironment();
    return ms * scale;
}

bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs, unsigned pollMs)
{
    const ULONGLONG deadline = GetTickCount64() + Scaled(timeoutMs);
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
