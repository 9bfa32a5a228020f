#pragma once

#include "lookup/LookupResult.h"

#include <string>

namespace qimlar {

class Platform;

// Which program this machine opens files with `extension` with, and why. The extension is used
// exactly as typed: no dot added or removed, nothing trimmed, the case kept. The lookup asks
// about an empty probe file that it creates in the temporary folder and deletes again before it
// returns; it touches no other file.
LookupResult LookUpProgram(const std::string& extension, Platform& platform);

// The answer alone: the program's full path (or the command line that starts it), or an empty
// text when nothing opens such files or the lookup failed.
std::string FindExe(const std::string& extension, Platform& platform);

} // namespace qimlar
