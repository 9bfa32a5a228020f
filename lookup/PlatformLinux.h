#pragma once

#include "Platform.h"

#include <optional>
#include <string>
#include <vector>

namespace qimlar {

// Files on a POSIX file system; associations from the freedesktop shared-mime-info database,
// mimeapps.list and desktop files through GIO, as the desktop itself resolves them.
class LinuxPlatform : public Platform
{
public:
    std::optional<std::string> tempFolder() override;
    std::optional<std::string> createUniqueFile(const std::string& folder,
                                                const std::string& prefix) override;
    bool renameNoReplace(const std::string& from, const std::string& to) override;
    std::string findExecutable(const std::string& file) override;
    bool deleteFile(const std::string& file) override;

    std::optional<ProcessHandle> startProcess(const std::string& commandLine) override;
    void waitForExit(const ProcessHandle& process) override;
    void closeProcess(const ProcessHandle& process) override;

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
