#pragma once

#include <string>

namespace qimlar {

class Platform;

// Starts the program that `cmdline` names and returns once it has ended, with no time limit;
// returns at once when nothing could be started. Reports nothing.
void ExecCmd(const std::string& cmdline, Platform& platform);

} // namespace qimlar
