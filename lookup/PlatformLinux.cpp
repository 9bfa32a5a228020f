#include "PlatformLinux.h"

#include "DefaultDecision.h"
#include "DesktopCommand.h"
#include "Explanation.h"
#include "MimeGlobs.h"
#include "ProgramFiles.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qimlar {

namespace {

constexpr std::string_view temporaryExtension = ".tmp";

// Sixteen letters and digits from the kernel's random source: a name nobody can guess and
// plant a file or link at beforehand.
std::optional<std::string> unguessablePart()
{
    static constexpr std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz234567";
    std::array<unsigned char, 16> bytes{};
    if (getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        return std::nullopt;
    std::string part;
    for (const unsigned char byte : bytes)
        part += alphabet[byte % alphabet.size()];
    return part;
}

// "what failed: the system's reason", as GLib words it.
Failure failed(const std::string& what, int error)
{
    return Failure{what + ": " + std::strerror(error)};
}

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

// What the lookup reads of a desktop entry to find its program.
desktop::Entry entryOf(GDesktopAppInfo* entry)
{
    desktop::Entry facts;
    if (const char* filename = g_desktop_app_info_get_filename(entry))
        facts.file = filename;
    if (const char* exec = g_app_info_get_commandline(G_APP_INFO(entry)))
        facts.exec = exec;
    g_autofree gchar* flatpak = g_desktop_app_info_get_string(entry, "X-Flatpak");
    if (flatpak)
        facts.flatpakId = flatpak;
    return facts;
}

// Every program that can open `type`, as the desktop's "open with" lists give them: the
// default, then the entries registered for the type itself, then those registered for its
// parent types (GIO leaves those of the type itself out of that list already).
std::vector<ProgramChoice> everyProgram(const std::string& type, GAppInfo* defaultApp)
{
    std::vector<ProgramChoice> choices;
    std::vector<std::string> ids;
    const auto add = [&](GAppInfo* app, ProgramRelation relation) {
        const char* id = g_app_info_get_id(app);
        if (!G_IS_DESKTOP_APP_INFO(app) ||
            (id && std::find(ids.begin(), ids.end(), id) != ids.end()))
            return;
        ids.emplace_back(id ? id : "");
        const desktop::Entry facts = entryOf(G_DESKTOP_APP_INFO(app));
        const auto program = desktop::programOf(facts);
        choices.push_back({program ? *program : std::string(),
                           desktop::withoutFieldCodes(facts.exec), facts.file, relation});
    };
    if (defaultApp)
        add(defaultApp, ProgramRelation::Default);
    const auto addAll = [&](GList* apps, ProgramRelation relation) {
        for (GList* app = apps; app; app = app->next)
            add(G_APP_INFO(app->data), relation);
        g_list_free_full(apps, g_object_unref);
    };
    addAll(g_app_info_get_recommended_for_type(type.c_str()), ProgramRelation::Registered);
    addAll(g_app_info_get_fallback_for_type(type.c_str()), ProgramRelation::ParentType);
    return choices;
}

// The program the desktop opens `type` with, and what `detail` asks for; `explanation` holds
// how the type was found.
LookupResult associationOf(const std::string& type, const LookupDetail& detail,
                           std::vector<std::string> explanation)
{
    LookupResult result;
    result.type = type;
    result.explanation = std::move(explanation);
    std::vector<std::string>* steps = detail.explanation ? &result.explanation : nullptr;
    const Steps said(steps);
    g_autoptr(GAppInfo) app = g_app_info_get_default_for_type(type.c_str(), FALSE);
    if (detail.everyProgram)
        result.programs = everyProgram(type, app);
    if (!app || !G_IS_DESKTOP_APP_INFO(app)) {
        result.status = LookupStatus::NoProgram;
        result.reason =
            "no installed desktop entry opens " + result.type + " or a type it is a kind of";
        if (steps)
            desktop::findDecision(type, "", "", steps);
        said.say("So nothing is found: " + result.reason + ".");
        return result;
    }
    GDesktopAppInfo* entry = G_DESKTOP_APP_INFO(app);
    const desktop::Entry facts = entryOf(entry);
    result.entry = facts.file;
    result.command = desktop::withoutFieldCodes(facts.exec);
    result.terminal = g_desktop_app_info_get_boolean(entry, "Terminal");
    if (const char* id = g_app_info_get_id(app)) {
        if (const auto decision = desktop::findDecision(result.type, id, result.entry, steps))
            result.decidedBy = decision->describe(result.type);
    }
    said.say("The desktop entry chosen is " + result.entry + ".");

    auto program = desktop::programOf(facts, desktop::snapCommandFolder, steps);
    if (!program) {
        result.status = LookupStatus::NoProgram;
        result.reason = program.reason();
        said.say("So nothing is found: " + result.reason + ".");
        return result;
    }
    result.program = *program;
    result.status = LookupStatus::Found;
    said.say("The answer is " + result.program +
             (result.terminal ? ", run in a terminal as the entry asks." : "."));
    return result;
}

} // namespace

Outcome<std::string> NativePlatform::tempFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

Outcome<std::string> NativePlatform::createUniqueFile(const std::string& folder,
                                                      const std::string& prefix)
{
    // Exclusive creation never follows a link planted at the name; a clash just draws again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto unique = unguessablePart();
        if (!unique)
            return failed("cannot draw a name for a file in " + folder, errno);
        std::string name = folder + prefix + *unique + std::string(temporaryExtension);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              S_IRUSR | S_IWUSR);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            return failed("cannot make a file in " + folder, errno);
    }
    return failed("cannot make a file in " + folder, EEXIST);
}

Status NativePlatform::renameNoReplace(const std::string& from, const std::string& to)
{
    const std::string what = "cannot rename " + from + " to " + to;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return Done{};
    if (errno != EINVAL && errno != ENOSYS)
        return failed(what, errno);
    // File systems without RENAME_NOREPLACE: a hard link fails where the name is taken.
    if (::link(from.c_str(), to.c_str()) != 0)
        return failed(what, errno);
    ::unlink(from.c_str());
    return Done{};
}

LookupResult NativePlatform::findAssociation(const std::string& file, const LookupDetail& detail)
{
    // The probe is empty, and sniffing an empty file says nothing: the name alone decides.
    g_autofree gchar* contentType = g_content_type_guess(file.c_str(), nullptr, 0, nullptr);
    const bool unknown = g_content_type_is_unknown(contentType);
    std::vector<std::string> steps;
    if (detail.explanation) {
        g_autofree gchar* name = g_path_get_basename(file.c_str());
        steps.push_back(mime::explainType(name, contentType, unknown));
    }
    if (unknown) {
        LookupResult result;
        result.type = contentType;
        result.status = LookupStatus::UnknownType;
        result.reason = "the shared MIME database has no type for such names";
        result.explanation = std::move(steps);
        if (detail.explanation)
            result.explanation.push_back("So there is no type to find a program for.");
        return result;
    }
    return associationOf(contentType, detail, std::move(steps));
}

LookupResult NativePlatform::findTypeAssociation(const std::string& type,
                                                 const LookupDetail& detail)
{
    std::vector<std::string> steps;
    if (detail.explanation)
        steps.push_back("The lookup was given the type " + type + ".");
    // GIO would take any text for a type and find nothing for it; a misspelt type is no
    // type that nothing opens.
    if (!mime::isKnownType(type)) {
        LookupResult result;
        result.status = LookupStatus::UnknownType;
        result.type = type;
        result.reason = "the shared MIME database knows no type " + type;
        if (detail.explanation) {
            steps.push_back("No MIME database lists " + type + " among its types or aliases.");
            result.explanation = std::move(steps);
        }
        return result;
    }
    return associationOf(type, detail, std::move(steps));
}

Status NativePlatform::deleteFile(const std::string& file)
{
    if (::unlink(file.c_str()) == 0)
        return Done{};
    return failed("cannot delete " + file, errno);
}

std::optional<LinuxPlatform::Command>
LinuxPlatform::parseCommandLine(const std::string& commandLine)
{
    // No C string can carry a NUL: cut there, the text would name another program.
    if (commandLine.find('\0') != std::string::npos)
        return std::nullopt;
    if (commandLine.find('/') != std::string::npos && isExecutableFile(commandLine))
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

Outcome<std::string> NativePlatform::terminalCommandLine(const std::string& commandLine)
{
    // The path of a program stays one word, spaces and all; any other text keeps its words.
    const std::string program =
        commandLine.find('/') != std::string::npos && isExecutableFile(commandLine)
            ? quoted(commandLine)
            : commandLine;
    for (const auto& [name, option] : knownTerminals) {
        if (const std::string terminal = programOnPath(name); !terminal.empty())
            return quoted(terminal) + (option ? std::string(" ") + option : "") + " " + program;
    }
    return Failure{"cannot start a terminal: no terminal emulator is installed "
                   "(x-terminal-emulator, xdg-terminal-exec, xterm, ...)"};
}

Outcome<ProcessHandle> NativePlatform::startProcess(const std::string& commandLine)
{
    const auto command = LinuxPlatform::parseCommandLine(commandLine);
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
        return failed("cannot start " + command->program, error);
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
