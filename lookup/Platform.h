#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qimlar {

// A started program as the operating system knows it: a process id on POSIX systems, the
// process and thread handles on Windows.
struct ProcessHandle
{
    std::intptr_t process = 0;
    std::intptr_t thread = 0;
};

// Everything the lookup and the launcher ask of the operating system. There is one
// implementation per platform; tests stand in their own to watch the calls.
//
// Texts are the platform's file-name bytes: what the file system holds on POSIX systems,
// UTF-8 on Windows, where the backend converts to UTF-16 at the call.
class Platform
{
public:
    virtual ~Platform() = default;

    // The user's temporary folder, ending in a path separator; nothing when there is none.
    virtual std::optional<std::string> tempFolder() = 0;

    // Creates a new, empty file in `folder` whose name is `prefix`, a unique part holding no
    // ".", then "." and the temporary-file extension. Returns its full name, or nothing when no
    // file was made.
    virtual std::optional<std::string> createUniqueFile(const std::string& folder,
                                                        const std::string& prefix) = 0;

    // Renames `from` to `to`, failing rather than replacing a file that `to` already names.
    virtual bool renameNoReplace(const std::string& from, const std::string& to) = 0;

    // The full path of the program that opens `file` by the desktop's associations, or an
    // empty text when there is none. The file is not changed.
    virtual std::string findExecutable(const std::string& file) = 0;

    // Deletes exactly the file `file` names, taken literally.
    virtual bool deleteFile(const std::string& file) = 0;

    // Starts the program that `commandLine` names, with this process's environment, current
    // folder and inheritable handles. Nothing when nothing could be started.
    virtual std::optional<ProcessHandle> startProcess(const std::string& commandLine) = 0;

    // Returns once the started program has ended, however long that takes.
    virtual void waitForExit(const ProcessHandle& process) = 0;

    // Releases what the system holds for an ended program.
    virtual void closeProcess(const ProcessHandle& process) = 0;
};

// The implementation for the platform this build runs on.
Platform& nativePlatform();

} // namespace qimlar
