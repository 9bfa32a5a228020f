#pragma once

// Starting programs and waiting for them, as Platform's operations of the same names do.

#include "lookup/Outcome.h"
#include "lookup/Platform.h"

#include <string>

namespace qimlar::win32 {

// A program here opens its own console when it needs one: this always fails, saying so.
Outcome<std::string> terminalCommandLine(const std::string& commandLine);

Outcome<ProcessHandle> startProcess(const std::string& commandLine);
void waitForExit(const ProcessHandle& process);
void closeProcess(const ProcessHandle& process);

} // namespace qimlar::win32
