#pragma once

#include "Platform.h"

#include <optional>
#include <string>

namespace qimlar {

// The platform this build runs on. PlatformLinux.cpp defines its operations for Linux, from the
// freedesktop databases through GIO and from POSIX; PlatformWindows.cpp for Windows, from the
// shell and the wide-character Win32 functions. Tests derive from it to step in between calls.
class NativePlatform : public Platform
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
};

} // namespace qimlar
