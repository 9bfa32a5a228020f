#pragma once

#include <string>

namespace qimlar::win32 {

// What CreateProcessW is given for one command-line text: the program to start (empty: Windows
// finds it in the command line by its own rules) and the command line itself.
struct ProcessCommand
{
    std::wstring program;
    std::wstring line;
};

// Given no program, Windows tries the words of an unquoted path with spaces from the shortest
// on, and "C:\Program Files\My App\app.exe --full" would start C:\Program.exe if there were one.
// An unquoted text holding spaces therefore starts the longest leading part that names an
// existing program, the rest its arguments. A quoted text, and one without spaces, go to
// Windows' own rules, except that a text that is the path of a file starts that file.
ProcessCommand processCommand(const std::wstring& text);

} // namespace qimlar::win32
