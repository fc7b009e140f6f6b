// Bounded waiting: every wait of the end-to-end tests goes through here.
#pragma once

#include <functional>

namespace qs::e2e {

// A time limit of the tests stretched for a slower machine: QS_WAIT_SCALE (a whole number,
// 1 when unset) times `ms`. An emulated machine runs the programs ten times slower or more,
// and a limit tuned to native speed would fail there for no fault of the program.
unsigned Scaled(unsigned ms);

// Polls `done` every `pollMs` until it answers true (returns true) or `timeoutMs` has
// passed (returns false), scaled as above. This thread's own messages are dispatched meanwhile, so windows
// the test itself owns stay responsive.
bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs, unsigned pollMs = 10);

// Lets `ms` milliseconds pass while dispatching this thread's messages.
void PumpFor(unsigned ms);

} // namespace qs::e2e
