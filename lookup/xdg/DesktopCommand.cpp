#include "xdg/DesktopCommand.h"

#include "xdg/CommandLine.h"
#include "xdg/EnvOptions.h"
#include "xdg/ExecutableFiles.h"
#include "xdg/FieldCodes.h"

#include <initializer_list>
#include <string_view>
#include <vector>

namespace qimlar::xdg {

namespace {

using Words = std::vector<std::string>;

std::string baseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name that stays one file name inside a folder: no "/", no "." or "..".
bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The first word after `from` that is no option; options in `valued` take the next word
// unless they hold their value after "=".
std::string firstOperand(const Words& words, std::size_t from,
                         std::initializer_list<std::string_view> valued = {})
{
    for (std::size_t i = from; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.empty() || word[0] != '-')
            return word;
        for (const std::string_view option : valued)
            if (word == option)
                ++i;
    }
    return {};
}

// What `TOOL run` starts, where these words are one: its first operand past the options.
std::string runOperand(const Words& words, std::size_t at, std::string_view tool,
                       std::initializer_list<std::string_view> valued = {})
{
    if (words.size() < at + 2 || baseName(words[at]) != tool || words[at + 1] != "run")
        return {};
    return firstOperand(words, at + 2, valued);
}

// The application a `flatpak run` starts, where these words are one.
std::string flatpakRunApplication(const Words& words, std::size_t at)
{
    return runOperand(words, at, "flatpak",
                      {"--arch", "--branch", "--command", "--cwd", "--runtime", "--runtime-version",
                       "--commit", "--runtime-commit"});
}

std::string notInstalled(const std::string& program, const std::string& entryFile)
{
    return "the program " + program + " of " + entryFile + " is not installed";
}

// exports/bin/APPID of the installation whose exports/share/applications/ holds `entryFile`.
std::string flatpakLauncher(const std::string& entryFile, const std::string& application)
{
    static constexpr std::string_view applications = "/exports/share/applications/";
    const auto at = entryFile.rfind(applications);
    if (!isPlainName(application) || at == std::string::npos ||
        entryFile.find('/', at + applications.size()) != std::string::npos)
        return {};
    const std::string launcher = entryFile.substr(0, at) + "/exports/bin/" + application;
    return isExecutableFile(launcher) ? launcher : std::string();
}

// The words up to `end`, as one text.
std::string joined(const Words& words, std::size_t end)
{
    std::string text;
    for (std::size_t i = 0; i < end; ++i)
        text += (i ? " " : "") + words[i];
    return text;
}

// The command line, for an application whose starter has no program file of its own: its
// first word must be installed.
Outcome<std::string> throughCommandLine(const Entry& entry, const Words& words, ExecWalk& walk)
{
    walk.wholeCommandLine = true;
    walk.name = words.front();
    walk.program = programOnPath(walk.name);
    if (walk.program.empty())
        return Failure{notInstalled(walk.name, entry.file)};
    return walk.commandLine;
}

// What `words[at]` onwards start: a Flatpak or snap application, or a program of their own.
Outcome<std::string> programAt(const Entry& entry, const Words& words, std::size_t at,
                               ExecWalk& walk)
{
    const std::string flatpak =
        entry.flatpakId.empty() ? flatpakRunApplication(words, at) : entry.flatpakId;
    if (!flatpak.empty()) {
        walk.wrapper = Wrapper::Flatpak;
        walk.application = flatpak;
        walk.program = flatpakLauncher(entry.file, flatpak);
        if (!walk.program.empty())
            return walk.program;
        return throughCommandLine(entry, words, walk);
    }
    if (const std::string snap = runOperand(words, at, "snap"); !snap.empty()) {
        walk.wrapper = Wrapper::Snap;
        walk.application = snap;
        if (const std::string program = walk.snapFolder + "/" + snap;
            isPlainName(snap) && isExecutableFile(program)) {
            walk.program = program;
            return program;
        }
        return throughCommandLine(entry, words, walk);
    }
    walk.name = words[at];
    walk.program = programOnPath(walk.name);
    if (walk.program.empty())
        return Failure{notInstalled(walk.name, entry.file)};
    return walk.program;
}

} // namespace

ProgramSearch findProgram(const Entry& entry, const std::string& snapFolder)
{
    ExecWalk walk;
    walk.exec = entry.exec;
    walk.commandLine = withoutFieldCodes(entry.exec);
    walk.snapFolder = snapFolder;
    const auto parsed = shellWords(walk.commandLine);
    if (!parsed)
        return {Failure{"cannot read the Exec line of " + entry.file + ": " + parsed.reason()},
                std::move(walk)};

    Words words = *parsed;
    std::size_t at = 0;
    while (at < words.size() && baseName(words[at]) == "env")
        at = afterEnv(words, at + 1);
    if (at == words.size())
        return {Failure{"the Exec line of " + entry.file + " runs env with no program"},
                std::move(walk)};
    walk.skipped = joined(words, at);
    auto program = programAt(entry, words, at, walk);
    return {std::move(program), std::move(walk)};
}

} // namespace qimlar::xdg
