#pragma once

#include "lookup/Outcome.h"

#include <string>

namespace qimlar {

class Platform;

// Starts the program that `cmdline` names and returns once it has ended, with no time limit;
// returns at once, saying why, when nothing could be started.
Status ExecCmd(const std::string& cmdline, Platform& platform);

} // namespace qimlar
