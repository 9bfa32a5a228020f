#pragma once

#include "lookup/Platform.h"

namespace qimlar::which {

// The platform the lookups run on, with every file it makes, renames or deletes (the lookup
// touches only its probe) recorded as the probe that the process deletes when it is ended from
// outside (console::ProbeChange).
class RecordedProbePlatform : public Platform
{
public:
    explicit RecordedProbePlatform(Platform& platform) : platform_(platform) {}

    Outcome<std::string> createUniqueFile(const std::string& folder,
                                          const std::string& prefix) override;
    Status renameNoReplace(const std::string& from, const std::string& to) override;
    Status deleteFile(const std::string& file) override;

    Outcome<std::string> tempFolder() override { return platform_.tempFolder(); }
    LookupResult findAssociation(const std::string& file, const LookupDetail& detail) override
    {
        return platform_.findAssociation(file, detail);
    }
    std::optional<std::string> registeredExtension(const std::string& type) override
    {
        return platform_.registeredExtension(type);
    }
    LookupResult findTypeAssociation(const std::string& type, const LookupDetail& detail) override
    {
        return platform_.findTypeAssociation(type, detail);
    }
    Outcome<std::string> terminalCommandLine(const std::string& commandLine) override
    {
        return platform_.terminalCommandLine(commandLine);
    }
    Outcome<ProcessHandle> startProcess(const std::string& commandLine) override
    {
        return platform_.startProcess(commandLine);
    }
    void waitForExit(const ProcessHandle& process) override { platform_.waitForExit(process); }
    void closeProcess(const ProcessHandle& process) override { platform_.closeProcess(process); }
    DefaultChange makeDefault(const DefaultChangeRequest& request) override
    {
        return platform_.makeDefault(request);
    }
    DefaultChange undoLastDefaultChange() override { return platform_.undoLastDefaultChange(); }

private:
    Platform& platform_;
};

} // namespace qimlar::which
