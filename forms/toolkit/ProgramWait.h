#pragma once

#include "lookup/Platform.h"

namespace qimlar::toolkit {

// Returns once the started program `process` has ended, however long that takes, while the
// event loop keeps running: every window repaints and answers the window system meanwhile.
// What the user may do in the meantime is the caller's to restrict.
void waitForExitWithEventsRunning(Platform& platform, const ProcessHandle& process);

} // namespace qimlar::toolkit
