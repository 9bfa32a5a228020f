// Starting programs, never through a shell: in the user's terminal emulator where the entry
// asks for one, with posix_spawn, and waiting for their end.

#include "NativePlatform.h"
#include "xdg/CommandLine.h"
#include "xdg/ExecutableFiles.h"
#include "xdg/SystemFailure.h"

#include <glib.h>

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace qimlar {

namespace {

// The terminal emulators to run a program in, in order, each with the option after which it
// takes the program: Debian's own choice of the user's terminal, the freedesktop launcher
// (which takes the program straight away), then those GIO itself tries.
struct TerminalEmulator
{
    const char* name;
    const char* option;
};
constexpr TerminalEmulator knownTerminals[] = {
    {"x-terminal-emulator", "-e"},
    {"xdg-terminal-exec", nullptr},
    {"gnome-terminal", "--"},
    {"mate-terminal", "-x"},
    {"xfce4-terminal", "-x"},
    {"tilix", "-e"},
    {"konsole", "-e"},
    {"nxterm", "-e"},
    {"color-xterm", "-e"},
    {"rxvt", "-e"},
    {"dtterm", "-e"},
    {"xterm", "-e"},
};

std::string quoted(const std::string& word)
{
    g_autofree gchar* text = g_shell_quote(word.c_str());
    return text;
}

} // namespace

Outcome<std::string> NativePlatform::terminalCommandLine(const std::string& commandLine)
{
    // The path of a program stays one word, spaces and all; any other text keeps its words.
    const std::string program = xdg::isProgramPath(commandLine) ? quoted(commandLine) : commandLine;
    for (const auto& [name, option] : knownTerminals) {
        if (const std::string terminal = xdg::programOnPath(name); !terminal.empty())
            return quoted(terminal) + (option ? std::string(" ") + option : "") + " " + program;
    }
    return Failure{"cannot start a terminal: no terminal emulator is installed "
                   "(x-terminal-emulator, xdg-terminal-exec, xterm, ...)"};
}

Outcome<ProcessHandle> NativePlatform::startProcess(const std::string& commandLine)
{
    const auto command = xdg::parseCommandLine(commandLine);
    if (!command)
        return Failure{"cannot start \"" + commandLine + "\": it names no program"};

    std::vector<char*> argv;
    for (const std::string& argument : command->arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The program starts as from a terminal: no signal blocked, SIGPIPE at its default.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int error =
        posix_spawn(&pid, command->program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return xdg::systemFailure("cannot start " + command->program, error);
    return ProcessHandle{pid, 0};
}

void NativePlatform::waitForExit(const ProcessHandle& process)
{
    int status = 0;
    while (::waitpid(static_cast<pid_t>(process.process), &status, 0) == -1 && errno == EINTR) {
    }
}

void NativePlatform::closeProcess(const ProcessHandle&)
{
    // Waiting reaped the process; nothing else is held for it.
}

} // namespace qimlar
