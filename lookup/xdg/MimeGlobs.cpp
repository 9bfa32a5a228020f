#include "xdg/MimeGlobs.h"

#include "xdg/Folders.h"

#include <glib.h>

#include <cstdlib>
#include <fnmatch.h>
#include <fstream>

namespace qimlar::xdg {

namespace {

std::optional<Glob> globOf(const std::string& file, const std::string& line)
{
    if (line.empty() || line[0] == '#')
        return std::nullopt;
    g_auto(GStrv) fields = g_strsplit(line.c_str(), ":", 4);
    if (g_strv_length(fields) < 3 || std::string(fields[2]) == "__NOGLOBS__")
        return std::nullopt;
    Glob glob{file, std::atoi(fields[0]), fields[1], fields[2]};
    if (fields[3]) {
        g_auto(GStrv) flags = g_strsplit(fields[3], ",", -1);
        glob.caseSensitive = g_strv_contains(flags, "cs");
    }
    return glob;
}

bool matches(const Glob& glob, const std::string& name)
{
    const std::string& pattern = glob.pattern;
    if (pattern.find_first_of("*?[") == std::string::npos)
        return pattern == name;
    const bool simple = pattern[0] == '*' && pattern.find_first_of("*?[", 1) == std::string::npos;
    if (!simple)
        return fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
    const std::string suffix = pattern.substr(1);
    if (name.size() < suffix.size())
        return false;
    const std::string end = name.substr(name.size() - suffix.size());
    // ASCII case only: a name need not be UTF-8.
    return glob.caseSensitive ? end == suffix
                              : g_ascii_strcasecmp(end.c_str(), suffix.c_str()) == 0;
}

} // namespace

std::vector<std::string> globFiles()
{
    return mimeDatabaseFiles("globs2");
}

std::optional<Glob> bestGlob(const std::vector<std::string>& files, const std::string& name,
                             const std::string& type)
{
    std::optional<Glob> best;
    for (const std::string& file : files) {
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) {
            const auto glob = globOf(file, line);
            if (!glob || glob->type != type || !matches(*glob, name))
                continue;
            if (!best || glob->weight > best->weight ||
                (glob->weight == best->weight && glob->pattern.size() > best->pattern.size()))
                best = glob;
        }
    }
    return best;
}

} // namespace qimlar::xdg
