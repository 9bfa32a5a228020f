#pragma once

#include "lookup/LookupResult.h"

#include <string>

namespace qimlar {

class Platform;

// Which program this machine opens files with `extension` with, and why. The extension is used
// exactly as typed: no dot added or removed, nothing trimmed, the case kept. The lookup asks
// about an empty probe file that it creates in the temporary folder and deletes again before it
// returns; it touches no other file.
// `detail` asks for the extra facts the result can hold.
LookupResult LookUpProgram(const std::string& extension, Platform& platform,
                           const LookupDetail& detail = {});

// The same for a file type named directly: a MIME type such as "audio/mpeg".
LookupResult LookUpType(const std::string& type, Platform& platform,
                        const LookupDetail& detail = {});

// The answer alone: the program's full path (or the command line that starts it), or an empty
// text when nothing opens such files or the lookup failed.
std::string FindExe(const std::string& extension, Platform& platform);

} // namespace qimlar
