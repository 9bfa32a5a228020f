#pragma once

#include "lookup/Outcome.h"

#include <functional>
#include <string>

namespace qimlar {

class Platform;
struct ProcessHandle;

// How the caller waits for a started program: it returns once the program has ended. A window
// waits with its event loop running; a tool just blocks.
using ExitWait = std::function<void(Platform& platform, const ProcessHandle& process)>;

// Starts the program that `cmdline` names and returns once it has ended, with no time limit;
// returns at once, saying why, when nothing could be started. Without `wait`, the calling
// thread blocks until the end.
Status ExecCmd(const std::string& cmdline, Platform& platform, const ExitWait& wait = {});

} // namespace qimlar
