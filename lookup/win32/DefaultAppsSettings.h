#pragma once

// Settings' Default apps page, where Windows 10 and 11 let the user choose the program that opens
// a type: the only place that choice may be made.

#include <string>

namespace qimlar::win32 {

// The page's address, opened at the application whose registration under RegisteredApplications
// (the user's, then the machine's) lists `classKey` among its file associations, so that the
// user finds its types there at once; the page itself where no application does. `classKey` is
// the class's key as ProgramChoice::entry gives it ("HKEY_CLASSES_ROOT\\mp3file").
std::string defaultAppsAddress(const std::string& classKey);

} // namespace qimlar::win32
