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
    // Nothing is ever started: the record of what was asked is all a test needs.
    std::optional<qimlar::ProcessHandle> startProcess(const std::string& commandLine) override
    {
        calls.push_back("start " + commandLine);
        return std::nullopt;
    }
    void waitForExit(const qimlar::ProcessHandle&) override {}
    void closeProcess(const qimlar::ProcessHandle&) override {}
};
