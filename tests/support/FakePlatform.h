#pragma once

#include "lookup/Platform.h"

#include <optional>
#include <string>
#include <vector>

// A platform that only remembers what it was asked, in order, and answers as it is told.
class FakePlatform : public qimlar::Platform
{
public:
    std::vector<std::string> calls;

    qimlar::Outcome<std::string> folder = std::string("/tmp/");
    qimlar::Outcome<std::string> createdName = std::string("/tmp/~k3vq.tmp");
    qimlar::Status renamed = qimlar::Done{};
    std::string executable = "/usr/bin/mpv";
    bool runsInTerminal = false;
    qimlar::Status deleted = qimlar::Done{};

    qimlar::Outcome<std::string> tempFolder() override
    {
        calls.push_back("tempFolder");
        return folder;
    }
    qimlar::Outcome<std::string> createUniqueFile(const std::string& in,
                                                  const std::string& prefix) override
    {
        calls.push_back("create " + in + " " + prefix);
        return createdName;
    }
    qimlar::Status renameNoReplace(const std::string& from, const std::string& to) override
    {
        calls.push_back("rename " + from + " " + to);
        return renamed;
    }
    qimlar::LookupResult findAssociation(const std::string& file,
                                         const qimlar::LookupDetail&) override
    {
        calls.push_back("find " + file);
        return answer();
    }
    // The extension registered for every type, as where extensions are associated.
    std::optional<std::string> typeExtension;
    std::optional<std::string> registeredExtension(const std::string& type) override
    {
        calls.push_back("extension of " + type);
        return typeExtension;
    }
    qimlar::LookupResult findTypeAssociation(const std::string& type,
                                             const qimlar::LookupDetail&) override
    {
        calls.push_back("find type " + type);
        return answer();
    }
    // The type the answer names, and every program that can open it, in the desktop's order.
    std::string type = "audio/mpeg";
    std::vector<qimlar::ProgramChoice> programs;
    qimlar::LookupResult answer() const
    {
        qimlar::LookupResult result;
        result.program = executable;
        result.terminal = runsInTerminal;
        result.type = type;
        result.programs = programs;
        result.status =
            executable.empty() ? qimlar::LookupStatus::NoProgram : qimlar::LookupStatus::Found;
        return result;
    }
    qimlar::Status deleteFile(const std::string& file) override
    {
        calls.push_back("delete " + file);
        return deleted;
    }
    // What the terminal stands for, when there is one: its command line with the program after it.
    qimlar::Outcome<std::string> terminalEmulator = std::string("x-terminal-emulator -e");
    qimlar::Outcome<std::string> terminalCommandLine(const std::string& commandLine) override
    {
        calls.push_back("terminal " + commandLine);
        if (!terminalEmulator)
            return terminalEmulator;
        return *terminalEmulator + " " + commandLine;
    }
    // Nothing really starts: the record of what was asked is all a test needs, and a started
    // program has ended at once.
    qimlar::Outcome<qimlar::ProcessHandle> started = qimlar::ProcessHandle{};
    qimlar::Outcome<qimlar::ProcessHandle> startProcess(const std::string& commandLine) override
    {
        calls.push_back("start " + commandLine);
        return started;
    }
    void waitForExit(const qimlar::ProcessHandle&) override {}
    void closeProcess(const qimlar::ProcessHandle&) override {}

    // What a dry run, the change itself and an undo answer; nothing is written anywhere.
    qimlar::DefaultChange preview, change, undone;
    qimlar::DefaultChange makeDefault(const qimlar::DefaultChangeRequest& request) override
    {
        calls.push_back((request.dryRun ? "preview " : "make default ") + request.type + " " +
                        request.app);
        return request.dryRun ? preview : change;
    }
    qimlar::DefaultChange undoLastDefaultChange() override
    {
        calls.push_back("undo");
        return undone;
    }
    qimlar::Status settingsOpened = qimlar::Done{};
    qimlar::Status openDefaultAppsSettings(const qimlar::ProgramChoice& choice) override
    {
        calls.push_back("settings " + choice.entry);
        return settingsOpened;
    }
};
