#pragma once

#include "lookup/Platform.h"

#include <string>

namespace qimlar {

// The platform this build runs on. lookup/xdg/ defines its operations for Linux, from the
// freedesktop databases through GIO and from POSIX; lookup/win32/ for Windows, from the
// shell and the wide-character Win32 functions. Tests derive from it to step in between calls.
class NativePlatform : public Platform
{
public:
    Outcome<std::string> tempFolder() override;
    Outcome<std::string> createUniqueFile(const std::string& folder,
                                          const std::string& prefix) override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    LookupResult findAssociation(const std::string& file, const LookupDetail& detail) override;
    LookupResult findTypeAssociation(const std::string& type, const LookupDetail& detail) override;
    // The shell associates extensions, not types; freedesktop systems associate types.
    std::optional<std::string> registeredExtension(const std::string& type) override;
    Status deleteFile(const std::string& file) override;

    Outcome<std::string> terminalCommandLine(const std::string& commandLine) override;
    Outcome<ProcessHandle> startProcess(const std::string& commandLine) override;
    void waitForExit(const ProcessHandle& process) override;
    void closeProcess(const ProcessHandle& process) override;

    DefaultChange makeDefault(const DefaultChangeRequest& request) override;
    DefaultChange undoLastDefaultChange() override;
#ifdef _WIN32
    Status openDefaultAppsSettings(const ProgramChoice& choice) override;
    // Hands `address` to the shell to open, as the Run box would; tests step in here.
    virtual Status openWithShell(const std::string& address);
#endif
};

} // namespace qimlar
