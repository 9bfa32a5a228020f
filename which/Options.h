#pragma once

#include "lookup/Outcome.h"

#include <string>
#include <vector>

namespace qimlar::which {

// What the command line asks for.
struct Options
{
    enum class Action { Answer, Help, Version, SetDefault, Undo };
    Action action = Action::Answer;

    bool json = false;    // --json: one JSON document
    bool all = false;     // --all: every program that can open the type
    bool explain = false; // --explain: the decision, in sentences
    bool mime = false;    // --mime: the queries are MIME types, not extensions

    std::string app;     // --set-default APP: the program to make the queries' default
    bool dryRun = false; // --dry-run: show the change, write nothing

    // -z: what ends each plain answer and, with --from, each query read.
    char separator = '\n';

    std::vector<std::string> queries;   // the arguments, asked first
    std::vector<std::string> fromFiles; // --from's files, read in their order; "-" is stdin
};

// Reads the arguments after the program's name. Options may come after queries, as GNU tools
// take them; short ones may be joined ("-zm"). A usage error fails with its message
// ("unknown option '--bogus'").
Outcome<Options> parseOptions(const std::vector<std::string>& arguments);

} // namespace qimlar::which
