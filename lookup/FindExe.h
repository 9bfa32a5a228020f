#pragma once

#include <string>

namespace qimlar {

class Platform;

// The full path of the program this machine opens files with `extension` with, or an empty
// text when there is none. The extension is used exactly as typed: no dot added or removed,
// nothing trimmed, the case kept. The lookup asks about an empty probe file that it creates in
// the temporary folder and deletes again before it returns; it touches no other file.
std::string FindExe(const std::string& extension, Platform& platform);

} // namespace qimlar
