// Bounded waiting: every wait of the end-to-end tests goes through here.
#pragma once

#include <functional>

namespace qs::e2e {

// Polls `done` every `pollMs` until it answers true (returns true) or `timeoutMs` has
// passed (returns false). This thread's own messages are dispatched meanwhile, so windows
// the test itself owns stay responsive.
bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs, unsigned pollMs = 10);

// Lets `ms` milliseconds pass while dispatching this thread's messages.
void PumpFor(unsigned ms);

} // namespace qs::e2e
