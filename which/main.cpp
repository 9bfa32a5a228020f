// qimlar-which: the program that opens files of each given extension, one line per extension,
// found by the same lookup as Qimlar's window.

#include "Console.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int everyExtensionFound = 0;
constexpr int someExtensionNotFound = 1;
constexpr int troubleOrUsageError = 2;

void printUsage(std::FILE* stream)
{
    std::fputs("Usage: qimlar-which [OPTION]... [--] EXTENSION...\n"
               "Print the full path of the program that opens files of each EXTENSION\n"
               "(the program behind env, Flatpak or snap; the command line that starts an\n"
               "application with no program file of its own), one line per EXTENSION, or\n"
               "an empty line when nothing opens them.\n"
               "An extension is used as typed: 'mp3', not '.mp3'.\n"
               "\n"
               "  -z, --null     end each answer with a NUL byte instead of a newline\n"
               "  -h, --help     print this help and exit\n"
               "  -V, --version  print the version and exit\n"
               "  --             take every later argument as an extension\n"
               "\n"
               "Exit status: 0 when a program was found for every EXTENSION, 1 when one was\n"
               "not, 2 on a usage error, when a lookup ran into trouble (named on standard\n"
               "error) or when the answers could not be written.\n",
               stream);
}

int usageError(const char* message, const char* argument)
{
    std::fprintf(stderr, "qimlar-which: %s '%s'\n", message, argument);
    std::fputs("Try 'qimlar-which --help' for more information.\n", stderr);
    return troubleOrUsageError;
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> extensions;
    char terminator = '\n';
    bool optionsEnded = false;
    for (const std::string& word : qimlar::console::arguments(argc, argv)) {
        const char* argument = word.c_str();
        // A lone "-" is no option: it is asked about like any other extension.
        if (optionsEnded || argument[0] != '-' || argument[1] == '\0') {
            extensions.push_back(word);
        } else if (std::strcmp(argument, "--") == 0) {
            optionsEnded = true;
        } else if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
            printUsage(stdout);
            return std::fflush(stdout) == 0 ? everyExtensionFound : troubleOrUsageError;
        } else if (std::strcmp(argument, "-V") == 0 || std::strcmp(argument, "--version") == 0) {
            std::puts("qimlar-which " QIMLAR_VERSION);
            return std::fflush(stdout) == 0 ? everyExtensionFound : troubleOrUsageError;
        } else if (std::strcmp(argument, "-z") == 0 || std::strcmp(argument, "--null") == 0) {
            terminator = '\0';
        } else {
            return usageError("unknown option", argument);
        }
    }
    if (extensions.empty()) {
        std::fputs("qimlar-which: no extension given\n", stderr);
        printUsage(stderr);
        return troubleOrUsageError;
    }

    int status = everyExtensionFound;
    bool written = true;
    for (const std::string& extension : extensions) {
        const qimlar::LookupResult result =
            qimlar::LookUpProgram(extension, qimlar::nativePlatform());
        const std::string& program = result.program;
        // Trouble is no "nothing opens it": it is named, and its line stays empty so that the
        // lines still match the extensions.
        if (result.status == qimlar::LookupStatus::Trouble) {
            std::fprintf(stderr, "qimlar-which: %s\n", result.reason.c_str());
            status = troubleOrUsageError;
        } else if (program.empty() && status == everyExtensionFound) {
            status = someExtensionNotFound;
        }
        // The path's bytes as the file system holds them, whatever their encoding.
        if (!qimlar::console::write(program + terminator))
            written = false;
    }
    // A full disk or a closed pipe must not pass for an answer.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || !written) {
        std::perror("qimlar-which: writing the answers");
        return troubleOrUsageError;
    }
    return status;
}
