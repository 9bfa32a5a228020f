#pragma once

#include "lookup/Outcome.h"

#include <string>
#include <vector>

namespace qimlar::xdg {

// The Exec line of a desktop entry as a command line: its field codes (%f, %U, %i, ...) and
// Flatpak's file-forwarding markers (@@, @@u) gone, "%%" as "%", every other byte as it was.
std::string withoutFieldCodes(const std::string& exec);

// What the lookup reads of a desktop entry to find the program it starts.
struct Entry
{
    std::string file;      // the entry's own file
    std::string exec;      // its Exec line, as the key file gives it
    std::string flatpakId; // its X-Flatpak key: the Flatpak application it starts, if any
};

// Where snapd puts the commands of the installed snaps.
inline constexpr const char* snapCommandFolder = "/snap/bin";

// The program an entry starts, past the wrappers menus put in front of it: the program env
// runs (after its options and NAME=VALUE words), the Flatpak installation's exported launcher
// (exports/bin/APPID beside the entry's exports/share/applications/), `snap run NAME`'s
// NAME in `snapFolder`; otherwise the Exec line's own program. Bare names come from PATH.
// Where no program file stands for a Flatpak or snap application, the answer is the command
// line that starts it. Fails, saying why, when the program is not installed.
// With `steps`, adds a sentence for each step from the Exec line to the program.
Outcome<std::string> programOf(const Entry& entry,
                               const std::string& snapFolder = snapCommandFolder,
                               std::vector<std::string>* steps = nullptr);

} // namespace qimlar::xdg
