#include "xdg/MimeGlobs.h"

#include "Explanation.h"
#include "xdg/ExecutableFiles.h"
#include "xdg/Folders.h"

#include <glib.h>

#include <algorithm>
#include <cstdlib>
#include <fnmatch.h>
#include <fstream>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unordered_set>
#include <utility>
#include <vector>

namespace qimlar::xdg {

namespace {

// One line of a globs2 file: "weight:type:pattern[:flags]".
struct Glob
{
    std::string file;
    int weight = 50;
    std::string type;
    std::string pattern;
    bool caseSensitive = false;
};

// The MIME databases' files of one name (globs2, types, ...) that exist, in the order GIO
// reads them.
std::vector<std::string> databaseFiles(const char* name)
{
    std::vector<std::string> folders{g_get_user_data_dir()};
    for (const gchar* const* dir = g_get_system_data_dirs(); *dir; ++dir)
        folders.emplace_back(*dir);
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        const std::string file = inFolder(folder, "mime/" + std::string(name));
        if (g_file_test(file.c_str(), G_FILE_TEST_IS_REGULAR))
            files.push_back(file);
    }
    return files;
}

std::vector<std::string> globFiles()
{
    return databaseFiles("globs2");
}

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

// Whether `glob` matches `name` as GIO's glob matching does: a name without wildcards
// literally, "*" and a plain suffix regardless of case (unless marked "cs"), any other pattern
// as the shell matches it.
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

std::string explainType(const std::string& name, const std::string& type, bool unknown)
{
    const auto files = globFiles();
    if (files.empty())
        return "No MIME database is installed (no mime/globs2 in the data folders), so the name " +
               name + " has the type " + type + (unknown ? ", which is unknown." : ".");
    const std::string read = inProse(files);
    if (unknown)
        return "No glob matches the name " + name + " in " + read + ", so its type is " + type +
               ", which is unknown.";

    // The heaviest line, then the longest pattern; the earlier database wins a tie.
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
    if (!best)
        return "No glob in " + read + " gives the type " + type + " to the name " + name +
               "; the desktop gives it that type all the same.";
    return "The name matches the glob " + best->pattern + " (weight " +
           std::to_string(best->weight) + (best->caseSensitive ? ", case-sensitive" : "") +
           ") in " + best->file + ", which gives the type " + type + ".";
}

bool isKnownType(const std::string& type)
{
    // A batch asks about many types: the lists are read again only once one of them has
    // changed, come or gone.
    static std::mutex lock;
    static std::vector<std::pair<std::string, struct stat>> readFrom;
    static std::unordered_set<std::string> known;
    const std::lock_guard held(lock);

    std::vector<std::pair<std::string, struct stat>> now;
    for (const char* list : {"types", "aliases"})
        for (std::string& file : databaseFiles(list))
            if (struct stat info{}; ::stat(file.c_str(), &info) == 0)
                now.emplace_back(std::move(file), info);
    const bool unchanged =
        now.size() == readFrom.size() &&
        std::equal(now.begin(), now.end(), readFrom.begin(), [](const auto& a, const auto& b) {
            return a.first == b.first && sameFile(a.second, b.second);
        });
    if (!unchanged) {
        // "types" lists every type of a database, one a line; "aliases" starts each line with
        // another name for one of them.
        known.clear();
        for (const auto& [file, info] : now) {
            std::ifstream in(file);
            for (std::string line; std::getline(in, line);)
                known.insert(line.substr(0, line.find(' ')));
        }
        readFrom = std::move(now);
    }
    return known.count(type) != 0;
}

} // namespace qimlar::xdg
