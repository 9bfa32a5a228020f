#pragma once

#include "Platform.h"

#include <optional>
#include <string>
#include <vector>

// A platform that only remembers what it was asked, in order, and answers as it is told.
class FakePlatform : public qimlar::Platform
{
public:
    std::vector<std::string> calls;

    std::optional<std::string> folder = "/tmp/";
    std::optional<std::string> createdName = "/tmp/~k3vq.tmp";
    bool renameSucceeds = true;
    std::string executable = "/usr/bin/mpv";
    bool deleteSucceeds = true;
    bool startSucceeds = false;

    std::optional<std::string> tempFolder() override
    {
        calls.push_back("tempFolder");
        return folder;
    }
    std::optional<std::string> createUniqueFile(const std::string& in,
                                                const std::string& prefix) override
    {
        calls.push_back("create " + in + " " + prefix);
        return createdName;
    }
    bool renameNoReplace(const std::string& from, const std::string& to) override
    {
        calls.push_back("rename " + from + " " + to);
        return renameSucceeds;
    }
    std::string findExecutable(const std::string& file) override
    {
        calls.push_back("find " + file);
        return executable;
    }
    bool deleteFile(const std::string& file) override
    {
        calls.push_back("delete " + file);
        return deleteSucceeds;
    }
    std::optional<qimlar::ProcessHandle> startProcess(const std::string& commandLine) override
    {
        calls.push_back("start " + commandLine);
        if (!startSucceeds)
            return std::nullopt;
        return qimlar::ProcessHandle{42, 7};
    }
    void waitForExit(const qimlar::ProcessHandle& process) override
    {
        calls.push_back("wait " + std::to_string(process.process));
    }
    void closeProcess(const qimlar::ProcessHandle& process) override
    {
        calls.push_back("close " + std::to_string(process.process) + " " +
                        std::to_string(process.thread));
    }
};
