#pragma once

#include "NativePlatform.h"

#include <optional>
#include <string>
#include <vector>

namespace qimlar {

// Linux's side of the native platform: files on a POSIX file system; associations from the
// freedesktop shared-mime-info database, mimeapps.list and desktop files through GIO, as the
// desktop itself resolves them.
class LinuxPlatform : public NativePlatform
{
public:
    // What a command line starts, never through a shell: the whole text when it is the path of
    // an executable file (so a path with spaces needs no quotes); otherwise its words, split
    // with shell-like quoting but no expansion of any kind, the first found on PATH unless it
    // holds a "/". Nothing when the text names no program.
    struct Command
    {
        std::string program;
        std::vector<std::string> arguments; // arguments[0] is the program as written
    };
    static std::optional<Command> parseCommandLine(const std::string& commandLine);
};

} // namespace qimlar
