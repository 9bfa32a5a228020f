#include "xdg/DesktopCommand.h"

#include "Explanation.h"
#include "xdg/ExecutableFiles.h"
#include "xdg/Folders.h"

#include <glib.h>

#include <optional>
#include <string_view>
#include <vector>

namespace qimlar::xdg {

namespace {

using Words = std::vector<std::string>;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// The end of the word that starts at `start`: its quotes and backslashes as a shell reads them.
std::size_t wordEnd(const std::string& text, std::size_t start)
{
    std::size_t i = start;
    while (i < text.size() && !isBlank(text[i])) {
        const char c = text[i++];
        if (c == '\\') {
            ++i;
        } else if (c == '\'') {
            const auto close = text.find('\'', i);
            i = close == std::string::npos ? text.size() : close + 1;
        } else if (c == '"') {
            while (i < text.size() && text[i] != '"')
                i += text[i] == '\\' ? 2 : 1;
            ++i;
        }
    }
    return std::min(i, text.size());
}

// A word with its field codes gone, as GIO expands them when it has nothing to pass.
std::string withoutCodes(std::string_view word)
{
    std::string result;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%')
            result += word[i];
        else if (++i < word.size() && word[i] == '%')
            result += '%';
    }
    return result;
}

std::optional<Words> wordsOf(const std::string& commandLine, std::string& error)
{
    g_auto(GStrv) argv = nullptr;
    g_autoptr(GError) failure = nullptr;
    if (!g_shell_parse_argv(commandLine.c_str(), nullptr, &argv, &failure)) {
        error = failure ? failure->message : "no words";
        return std::nullopt;
    }
    Words words;
    for (gchar** word = argv; *word; ++word)
        words.emplace_back(*word);
    return words;
}

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

// The index of the program env runs in `words[from]` onwards, past env's options and its
// NAME=VALUE words; -S's text is split into words in its place. words.size() when none.
std::size_t afterEnv(Words& words, std::size_t from)
{
    std::size_t i = from;
    bool optionsEnded = false;
    for (; i < words.size(); ++i) {
        const std::string word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.empty() || word[0] != '-') {
            if (word.find('=') == std::string::npos)
                break; // the program
            continue;  // NAME=VALUE
        }
        if (word == "-")
            continue; // the old spelling of -i
        // Options that take a value: given in the word itself or as the next word.
        std::string value;
        bool hasValue = false;
        bool takesValue = false;
        bool split = false;
        if (word.starts_with("--")) {
            const auto equals = word.find('=');
            const std::string name = word.substr(0, equals);
            takesValue = name == "--unset" || name == "--chdir" || name == "--split-string";
            split = name == "--split-string";
            if (equals != std::string::npos) {
                value = word.substr(equals + 1);
                hasValue = true;
            }
        } else {
            const auto at = word.find_first_of("uCS", 1);
            if (at != std::string::npos) {
                takesValue = true;
                split = word[at] == 'S';
                hasValue = at + 1 < word.size();
                value = word.substr(at + 1);
            }
        }
        if (takesValue && !hasValue && i + 1 < words.size())
            value = words[++i];
        if (split) {
            std::string ignored;
            if (const auto more = wordsOf(value, ignored))
                words.insert(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, more->begin(),
                             more->end());
        }
    }
    return i;
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

// Where a program was found, as a sentence.
std::string foundAt(const std::string& name, const std::string& program)
{
    if (name.find('/') != std::string::npos)
        return "the program " + program + " is an executable file";
    return "the program " + name + " is found on PATH at " + program;
}

} // namespace

std::string withoutFieldCodes(const std::string& exec)
{
    std::string result;
    std::size_t i = 0;
    while (i < exec.size()) {
        const std::size_t blankStart = i;
        while (i < exec.size() && isBlank(exec[i]))
            ++i;
        if (i == exec.size())
            break;
        const std::size_t end = wordEnd(exec, i);
        const std::string_view word(exec.data() + i, end - i);
        const std::string kept = withoutCodes(word);
        // A word of codes alone stands for arguments that are not there; @@ and @@u mark where
        // Flatpak forwards files.
        const bool dropped = (kept.empty() && !word.empty()) || word == "@@" || word == "@@u";
        if (!dropped) {
            if (!result.empty())
                result.append(exec, blankStart, i - blankStart);
            result += kept;
        }
        i = end;
    }
    return result;
}

Outcome<std::string> programOf(const Entry& entry, const std::string& snapFolder,
                               std::vector<std::string>* steps)
{
    const Steps said(steps);
    const std::string commandLine = withoutFieldCodes(entry.exec);
    said.say("Its Exec line `" + entry.exec + "` is the command line `" + commandLine +
             "` without its field codes.");
    std::string error;
    auto words = wordsOf(commandLine, error);
    if (!words)
        return Failure{"cannot read the Exec line of " + entry.file + ": " + error};

    std::size_t at = 0;
    while (at < words->size() && baseName((*words)[at]) == "env")
        at = afterEnv(*words, at + 1);
    if (at == words->size())
        return Failure{"the Exec line of " + entry.file + " runs env with no program"};
    if (at > 0) {
        std::string skipped;
        for (std::size_t i = 0; i < at; ++i)
            skipped += (i ? " " : "") + (*words)[i];
        said.say("The words `" + skipped + "` only set up the environment of the program after " +
                 "them: they are skipped.");
    }

    // The command line, for an application whose starter has no program file of its own.
    const auto wholeCommandLine = [&](const std::string& why) -> Outcome<std::string> {
        const std::string starter = programOnPath(words->front());
        if (starter.empty())
            return Failure{notInstalled(words->front(), entry.file)};
        said.say(why + ", so the answer is the command line itself: " +
                 foundAt(words->front(), starter) + ".");
        return commandLine;
    };

    const std::string flatpak =
        entry.flatpakId.empty() ? flatpakRunApplication(*words, at) : entry.flatpakId;
    if (!flatpak.empty()) {
        if (std::string launcher = flatpakLauncher(entry.file, flatpak); !launcher.empty()) {
            said.say("It starts the Flatpak application " + flatpak +
                     ", whose installation exports the launcher " + launcher + ".");
            return launcher;
        }
        return wholeCommandLine("It starts the Flatpak application " + flatpak +
                                ", and no launcher for it is exported beside the entry");
    }
    if (const std::string snap = runOperand(*words, at, "snap"); !snap.empty()) {
        if (const std::string program = snapFolder + "/" + snap;
            isPlainName(snap) && isExecutableFile(program)) {
            said.say("It starts the snap " + snap + ", whose command is " + program + ".");
            return program;
        }
        return wholeCommandLine("It starts the snap " + snap + ", and " + snapFolder +
                                " holds no command of that name");
    }

    const std::string& name = (*words)[at];
    std::string program = programOnPath(name);
    if (program.empty())
        return Failure{notInstalled(name, entry.file)};
    if (said) {
        std::string sentence = foundAt(name, program) + ".";
        sentence[0] = 'T';
        said.say(sentence);
    }
    return program;
}

} // namespace qimlar::xdg
