#include "xdg/CommandLine.h"

#include "xdg/ExecutableFiles.h"

#include <glib.h>

namespace qimlar::xdg {

bool isProgramPath(const std::string& commandLine)
{
    return commandLine.find('/') != std::string::npos && isExecutableFile(commandLine);
}

std::optional<Command> parseCommandLine(const std::string& commandLine)
{
    // No C string can carry a NUL: cut there, the text would name another program.
    if (commandLine.find('\0') != std::string::npos)
        return std::nullopt;
    if (isProgramPath(commandLine))
        return Command{commandLine, {commandLine}};

    g_auto(GStrv) words = nullptr;
    if (!g_shell_parse_argv(commandLine.c_str(), nullptr, &words, nullptr))
        return std::nullopt;

    Command command;
    for (gchar** word = words; *word; ++word)
        command.arguments.emplace_back(*word);
    const std::string& first = command.arguments.front();
    command.program = first.find('/') != std::string::npos ? first : programOnPath(first);
    if (command.program.empty())
        return std::nullopt;
    return command;
}

} // namespace qimlar::xdg
