#pragma once

#include "lookup/Platform.h"

class QCloseEvent;

namespace qimlar::toolkit {

// Returns once the started program `process` has ended, however long that takes, while the
// event loop keeps running: every window repaints and answers the window system meanwhile.
// What the user may do in the meantime is the caller's to restrict.
void waitForExitWithEventsRunning(Platform& platform, const ProcessHandle& process);

// A window that waits for a program it started stays open until that program has ended: its
// close box is refused, with a beep. True when the close was refused.
bool refuseCloseWhileWaiting(QCloseEvent& event, bool waiting);

} // namespace qimlar::toolkit
