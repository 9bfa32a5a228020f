#pragma once

#include "lookup/Outcome.h"

#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

// What a command line starts, never through a shell: the whole text when it is the path of an
// executable file (so a path with spaces needs no quotes); otherwise its words, split with
// shell-like quoting but no expansion of any kind, the first found on PATH unless it holds a
// "/". Nothing when the text names no program.
struct Command
{
    std::string program;
    std::vector<std::string> arguments; // arguments[0] is the program as written
};
std::optional<Command> parseCommandLine(const std::string& commandLine);

// Whether the whole of `commandLine` is the path of an executable file.
bool isProgramPath(const std::string& commandLine);

// The words of `text` as a shell splits them, its quotes and backslashes honoured, nothing
// expanded. Fails, as GLib says why, for unbalanced quotes or a text of no words.
Outcome<std::vector<std::string>> shellWords(const std::string& text);

} // namespace qimlar::xdg
