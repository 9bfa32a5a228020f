#include "xdg/CommandLine.h"

#include "xdg/ExecutableFiles.h"

#include <glib.h>

namespace qimlar::xdg {

bool isProgramPath(const std::string& commandLine)
{
    return commandLine.find('/') != std::string::npos && isExecutableFile(commandLine);
}

Outcome<std::vector<std::string>> shellWords(const std::string& text)
{
    g_auto(GStrv) argv = nullptr;
    g_autoptr(GError) failure = nullptr;
    if (!g_shell_parse_argv(text.c_str(), nullptr, &argv, &failure))
        return Failure{failure ? failure->message : "no words"};
    std::vector<std::string> words;
    for (gchar** word = argv; *word; ++word)
        words.emplace_back(*word);
    return words;
}

std::optional<Command> parseCommandLine(const std::string& commandLine)
{
    // No C string can carry a NUL: cut there, the text would name another program.
    if (commandLine.find('\0') != std::string::npos)
        return std::nullopt;
    if (isProgramPath(commandLine))
        return Command{commandLine, {commandLine}};

    const auto words = shellWords(commandLine);
    if (!words)
        return std::nullopt;
    const std::string& first = words->front();
    std::string program = first.find('/') != std::string::npos ? first : programOnPath(first);
    if (program.empty())
        return std::nullopt;
    return Command{std::move(program), *words};
}

} // namespace qimlar::xdg
