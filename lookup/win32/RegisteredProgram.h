#pragma once

// How a registered class's command becomes the program it starts.

#include "win32/ShellAssociation.h"

#include <string>

namespace qimlar::win32 {

// The command line that starts a packaged (Store) app, which has no program file to name:
// Explorer, given the app's ID. Empty when Windows has no explorer.exe.
std::wstring packagedAppCommand(const std::wstring& appUserModelId);

// The full path of the existing file that the class's command starts, a bare program name
// looked for where Windows starts programs from; empty when no such file exists.
std::wstring existingRegisteredProgram(const ClassCommand& registered);

// What starts the class's files: its existing program, or, for a packaged app that has none,
// the command line that starts the app; empty when neither exists.
std::wstring programOfClass(const ClassCommand& registered);

} // namespace qimlar::win32
