#pragma once

#include "lookup/Outcome.h"

#include <string>

namespace qimlar::xdg {

// What the lookup reads of a desktop entry to find the program it starts.
struct Entry
{
    std::string file;      // the entry's own file
    std::string exec;      // its Exec line, as the key file gives it
    std::string flatpakId; // its X-Flatpak key: the Flatpak application it starts, if any
};

// Where snapd puts the commands of the installed snaps.
inline constexpr const char* snapCommandFolder = "/snap/bin";

// What starts an application in an Exec line, in front of the program's own name.
enum class Wrapper { None, Flatpak, Snap };

// How an entry's Exec line led to its program, for those who ask why.
struct ExecWalk
{
    std::string exec;        // the Exec line
    std::string commandLine; // the Exec line without its field codes
    std::string skipped;     // the words before the program that only set up its environment
    Wrapper wrapper = Wrapper::None;
    std::string application; // the Flatpak application or the snap the Exec line starts
    std::string snapFolder;  // where the snaps' commands were looked for
    // No program file stands for the application: its command line is the answer.
    bool wholeCommandLine = false;
    std::string name;    // the program as the words name it
    std::string program; // the file found for it: the program, or the application's launcher
};

// The program an entry starts, or why none, and the walk to it.
struct ProgramSearch
{
    Outcome<std::string> program;
    ExecWalk walk;
};

// The program an entry starts, past the wrappers menus put in front of it: the program env
// runs (after its options and NAME=VALUE words), the Flatpak installation's exported launcher
// (exports/bin/APPID beside the entry's exports/share/applications/), `snap run NAME`'s
// NAME in `snapFolder`; otherwise the Exec line's own program. Bare names come from PATH.
// Where no program file stands for a Flatpak or snap application, the answer is the command
// line that starts it. Fails, saying why, when the program is not installed.
ProgramSearch findProgram(const Entry& entry, const std::string& snapFolder = snapCommandFolder);

} // namespace qimlar::xdg
