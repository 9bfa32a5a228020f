#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

// One line of a globs2 file: "weight:type:pattern[:flags]".
struct Glob
{
    std::string file;
    int weight = 50;
    std::string type;
    std::string pattern;
    bool caseSensitive = false;
};

// The shared MIME databases' glob files (globs2) that exist, in the order GIO reads them.
std::vector<std::string> globFiles();

// The line of `files` that gives `type` to a file named `name`, matched as GIO matches globs:
// the heaviest line, then the longest pattern; the earlier file wins a tie. A pattern without
// wildcards matches literally, "*" and a plain suffix regardless of ASCII case (unless marked
// "cs"), any other pattern as the shell matches it. Nothing when no line of `type` matches.
std::optional<Glob> bestGlob(const std::vector<std::string>& files, const std::string& name,
                             const std::string& type);

// How a file's name came to its type, for those who ask: the glob files read, and the line
// that gave the type (none for a type that is unknown, or that no glob gives).
struct GlobWalk
{
    std::vector<std::string> files;
    std::optional<Glob> match;
};

} // namespace qimlar::xdg
