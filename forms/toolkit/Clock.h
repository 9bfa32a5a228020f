#pragma once

// The clock the windows wait on, and the event pump that keeps them answering meanwhile.

#include <functional>

namespace qimlar::toolkit {

// Seconds on a clock that only runs forward: unlike the time of day it never starts again at
// midnight, so a wait measured on it always ends.
double Timer();

// Replaces the clock `Timer` reads, for tests; an empty function restores the real one.
void setClock(std::function<double()> clock);

// Dispatches every pending event, painting included. When none is pending it sleeps until one
// comes, but no longer than `maxWaitSeconds` (0: it does not sleep).
void DoEvents(double maxWaitSeconds = 0);

} // namespace qimlar::toolkit
