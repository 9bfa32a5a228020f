#include "Usage.h"

namespace qimlar::which {

void printUsage(std::FILE* stream)
{
    std::fputs("Usage: qimlar-which [OPTION]... [--] EXTENSION...\n"
               "  or:  qimlar-which [OPTION]... --mime [--] TYPE...\n"
               "  or:  qimlar-which [OPTION]... --from FILE [EXTENSION]...\n"
               "Print the full path of the program that opens files of each EXTENSION\n"
               "(the program behind env, Flatpak or snap; the command line that starts an\n"
               "application with no program file of its own), one line per EXTENSION, or\n"
               "an empty line when nothing opens them.\n"
               "An extension is used as typed: 'mp3', not '.mp3'.\n"
               "\n"
               "  -m, --mime       the queries are MIME types (audio/mpeg), not extensions\n"
               "      --from FILE  read queries from FILE, one per line (NUL-separated with -z),\n"
               "                   after those given as arguments; '-' is standard input\n"
               "      --all        list every program that can open the type, the default\n"
               "                   marked with '*', then those registered for the type, then\n"
               "                   for its parent types\n"
               "      --explain    say in sentences how the answer was reached\n"
               "      --json       print one JSON array, an object per query with the keys\n"
               "                   query, type, program, command, desktop_entry, decided_by,\n"
               "                   terminal, status (found, unknown-type, no-program, trouble)\n"
               "                   and reason; with --all also programs, with --explain also\n"
               "                   explanation; bytes that are not UTF-8 become \\udc80-\\udcff\n"
               "  -z, --null       end each plain answer with a NUL byte instead of a newline;\n"
               "                   with --from, queries are NUL-separated\n"
               "  -h, --help       print this help and exit\n"
               "  -V, --version    print the version and exit\n"
               "  --               take every later argument as a query\n"
               "\n"
               "Examples:\n"
               "  qimlar-which mp3 pdf                 two lines, one path each\n"
               "  qimlar-which --mime audio/mpeg       the same answer as for mp3\n"
               "  qimlar-which --all --explain mp3     every program, and why the default\n"
               "  qimlar-which --json --all mp3 | jq   the same, for a script\n"
               "  find . -type f | sed -n 's/.*\\.//p' | sort -u | qimlar-which --from -\n"
               "\n"
               "Exit status: 0 when a program was found for every query, 1 when one was not,\n"
               "2 on a usage error, when a lookup ran into trouble (named on standard error),\n"
               "when FILE could not be read or when the answers could not be written.\n",
               stream);
}

} // namespace qimlar::which
