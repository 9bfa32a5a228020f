#include "xdg/DefaultDecision.h"

#include "Explanation.h"
#include "xdg/ExecutableFiles.h"
#include "xdg/Folders.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace qimlar::xdg {

namespace {

constexpr const char* defaultsGroup = "Default Applications";
constexpr const char* addedGroup = "Added Associations";
constexpr const char* cacheGroup = "MIME Cache";
constexpr const char* entryGroup = "Desktop Entry";

// One file GIO reads, and the groups it takes from it: the desktop-specific lists and
// defaults.list may only name defaults.
struct ListFile
{
    std::string path;
    std::vector<const char*> groups;
};

// The lowercased names in XDG_CURRENT_DESKTOP, in their order.
std::vector<std::string> currentDesktops()
{
    std::vector<std::string> desktops;
    const char* value = g_getenv("XDG_CURRENT_DESKTOP");
    g_auto(GStrv) names = g_strsplit(value ? value : "", ":", -1);
    for (gchar** name = names; *name; ++name) {
        if (**name == '\0' || std::strchr(*name, '/'))
            continue;
        g_autofree gchar* lower = g_ascii_strdown(*name, -1);
        desktops.emplace_back(lower);
    }
    return desktops;
}

// Every file GIO reads for associations, highest precedence first.
std::vector<ListFile> listFiles()
{
    std::vector<std::pair<std::string, bool>> folders; // the folder, and whether it holds entries
    folders.emplace_back(g_get_user_config_dir(), false);
    for (const gchar* const* dir = g_get_system_config_dirs(); *dir; ++dir)
        folders.emplace_back(*dir, false);
    folders.emplace_back(inFolder(g_get_user_data_dir(), "applications"), true);
    for (const gchar* const* dir = g_get_system_data_dirs(); *dir; ++dir)
        folders.emplace_back(inFolder(*dir, "applications"), true);

    const auto desktops = currentDesktops();
    std::vector<ListFile> files;
    for (const auto& [folder, holdsEntries] : folders) {
        for (const std::string& desktop : desktops)
            files.push_back({inFolder(folder, desktop + "-mimeapps.list"), {defaultsGroup}});
        files.push_back({inFolder(folder, "mimeapps.list"), {defaultsGroup, addedGroup}});
        if (holdsEntries) {
            files.push_back({inFolder(folder, "defaults.list"), {defaultsGroup}});
            files.push_back({inFolder(folder, "mimeinfo.cache"), {cacheGroup}});
        }
    }
    return files;
}

// A place where a file names an entry for a type.
struct Naming
{
    std::string file;
    const char* group;
    std::string type;
};

// Which types a list file names each entry for, group by group, in the file's order.
using Index = std::map<std::string, std::vector<Naming>>;

Index indexOf(const std::string& file, const std::vector<const char*>& groups)
{
    Index index;
    g_autoptr(GKeyFile) keys = g_key_file_new();
    if (!g_key_file_load_from_file(keys, file.c_str(), G_KEY_FILE_NONE, nullptr))
        return index;
    for (const char* group : groups) {
        g_auto(GStrv) types = g_key_file_get_keys(keys, group, nullptr, nullptr);
        for (gchar** type = types; type && *type; ++type) {
            g_auto(GStrv) ids = g_key_file_get_string_list(keys, group, *type, nullptr, nullptr);
            for (gchar** id = ids; id && *id; ++id)
                index[*id].push_back({file, group, *type});
        }
    }
    return index;
}

// The index of a list file, read again only once the file has changed: a desktop's
// mimeinfo.cache names thousands of types, too many to read on every lookup.
struct CachedIndex
{
    struct stat read
    {};
    Index index;
};

// Called with the lock below held.
const Index* cachedIndexOf(const ListFile& file)
{
    static std::map<std::string, CachedIndex> cache;
    struct stat now
    {};
    if (::stat(file.path.c_str(), &now) != 0) {
        cache.erase(file.path);
        return nullptr;
    }
    auto [at, added] = cache.try_emplace(file.path);
    if (added || !sameFile(at->second.read, now))
        at->second = {now, indexOf(file.path, file.groups)};
    return &at->second.index;
}

// The entry's own MimeType line, as namings of the entry by itself.
std::vector<Naming> entryTypes(const std::string& entryFile)
{
    std::vector<Naming> namings;
    g_autoptr(GKeyFile) keys = g_key_file_new();
    if (!g_key_file_load_from_file(keys, entryFile.c_str(), G_KEY_FILE_NONE, nullptr))
        return namings;
    g_auto(GStrv) types =
        g_key_file_get_string_list(keys, entryGroup, "MimeType", nullptr, nullptr);
    for (gchar** type = types; type && *type; ++type)
        namings.push_back({entryFile, "MimeType", *type});
    return namings;
}

// `type` and those of its parents that some naming names, nearest first, as GIO tries them.
std::vector<std::string> typeAndParents(const std::string& type, const std::vector<Naming>& namings)
{
    std::vector<std::string> parents;
    for (const Naming& naming : namings) {
        const char* named = naming.type.c_str();
        if (!g_content_type_equals(named, type.c_str()) &&
            g_content_type_is_a(type.c_str(), named) &&
            std::find(parents.begin(), parents.end(), naming.type) == parents.end())
            parents.push_back(naming.type);
    }
    // A parent that is itself a kind of more of the others is the nearer one.
    std::vector<std::pair<long, std::string>> ranked;
    for (const std::string& parent : parents)
        ranked.emplace_back(std::count_if(parents.begin(), parents.end(),
                                          [&](const std::string& other) {
                                              return other != parent &&
                                                     g_content_type_is_a(parent.c_str(),
                                                                         other.c_str());
                                          }),
                            parent);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    parents.clear();
    for (auto& [rank, parent] : ranked)
        parents.push_back(std::move(parent));
    parents.insert(parents.begin(), type);
    return parents;
}

// The sentences of a walk through the list files, for those who ask; nothing otherwise.
class DecisionTrace
{
public:
    DecisionTrace(std::vector<std::string>* sentences, const std::vector<ListFile>& files,
                  const std::string& type, const std::string& desktopId)
        : sentences_(sentences), type_(type), desktopId_(desktopId)
    {
        if (!sentences_)
            return;
        std::size_t present = 0;
        for (const ListFile& file : files)
            present += keysOf(file.path) != nullptr;
        const std::string lookedFor =
            "The desktop looks for " + std::to_string(files.size()) + " association lists; ";
        if (present == 0) {
            say(lookedFor + "none exists here.");
            return;
        }
        say(lookedFor +
            (present == 1
                 ? "the one that exists here is read"
                 : "the " + std::to_string(present) + " that exist here are read in its order") +
            ", a type's defaults before its other associations, then its parent types.");
    }

    // What `file` says of `type` in the groups of this round, it having named nothing that
    // decided.
    void passed(const ListFile& file, const std::vector<std::string_view>& groups,
                const std::string& type)
    {
        GKeyFile* keys = sentences_ ? keysOf(file.path) : nullptr;
        if (!keys)
            return;
        for (const char* group : file.groups) {
            if (std::find(groups.begin(), groups.end(), group) == groups.end())
                continue;
            g_autofree gchar* line = g_key_file_get_value(keys, group, type.c_str(), nullptr);
            if (!line) {
                withoutLine_[group].push_back(file.path);
                continue;
            }
            g_auto(GStrv) ids =
                g_key_file_get_string_list(keys, group, type.c_str(), nullptr, nullptr);
            std::string installed;
            for (gchar** id = ids; id && *id; ++id) {
                g_autoptr(GDesktopAppInfo) entry = g_desktop_app_info_new(*id);
                if (entry)
                    installed += (installed.empty() ? "" : ", ") + std::string(*id);
            }
            roundEnded(type); // the files before it keep their place
            say(quote(type, line, group, file.path) +
                (installed.empty() ? " names no entry that is installed."
                                   : " names " + installed + ", which the desktop passes over."));
        }
    }

    // The files passed since the last sentence that have no line for `type`, together.
    void roundEnded(const std::string& type)
    {
        for (const auto& [group, files] : withoutLine_) {
            say("There is no line for " + type + " in [" + group + "] of " + inProse(files) + ".");
        }
        withoutLine_.clear();
    }

    void decided(const Naming& naming)
    {
        roundEnded(naming.type);
        if (!sentences_)
            return;
        g_autofree gchar* line =
            g_key_file_get_value(keysOf(naming.file), naming.group, naming.type.c_str(), nullptr);
        say(quote(naming.type, line ? line : desktopId_.c_str(), naming.group, naming.file) +
            " names " + desktopId_ + ": this line decides" + throughParent(naming.type) + ".");
    }

    void decidedByEntry(const Naming& naming)
    {
        say("No association list names " + desktopId_ + " for " + type_ +
            "; its own MimeType line in " + naming.file + " names " + naming.type +
            throughParent(naming.type) + ".");
    }

    void undecided()
    {
        say(desktopId_.empty() ? "No list names an installed entry for " + type_ + "."
                               : "No association list names " + desktopId_ + " for " + type_ +
                                     " or a type it is a kind of.");
    }

private:
    std::vector<std::string>* sentences_;
    std::string type_, desktopId_;
    std::map<std::string, std::unique_ptr<GKeyFile, decltype(&g_key_file_free)>> keys_;
    std::map<std::string, std::vector<std::string>> withoutLine_; // by group

    void say(const std::string& sentence) const { Steps(sentences_).say(sentence); }

    // The list file read once for the walk; nothing when it cannot be read.
    GKeyFile* keysOf(const std::string& path)
    {
        auto [at, added] = keys_.try_emplace(path, nullptr, &g_key_file_free);
        if (added) {
            GKeyFile* keys = g_key_file_new();
            if (g_key_file_load_from_file(keys, path.c_str(), G_KEY_FILE_NONE, nullptr))
                at->second.reset(keys);
            else
                g_key_file_free(keys);
        }
        return at->second.get();
    }

    static std::string quote(const std::string& type, const std::string& line,
                             const std::string& group, const std::string& file)
    {
        return "`" + type + "=" + line + "` in [" + group + "] of " + file;
    }

    std::string throughParent(const std::string& type) const
    {
        return g_content_type_equals(type.c_str(), type_.c_str())
                   ? ""
                   : ", through the parent type " + type;
    }
};

} // namespace

std::string Decision::describe(const std::string& askedType) const
{
    if (g_content_type_equals(type.c_str(), askedType.c_str()))
        return file;
    return file + " (for the parent type " + type + ")";
}

std::optional<Decision> findDecision(const std::string& type, const std::string& desktopId,
                                     const std::string& entryFile, std::vector<std::string>* trace)
{
    const std::vector<ListFile> files = listFiles();
    std::vector<Naming> namings;
    {
        static std::mutex lock;
        const std::lock_guard held(lock);
        for (const ListFile& file : files) {
            if (const Index* index = cachedIndexOf(file)) {
                if (const auto named = index->find(desktopId); named != index->end())
                    namings.insert(namings.end(), named->second.begin(), named->second.end());
            }
        }
    }
    DecisionTrace said(trace, files, type, desktopId);
    // For each type, nearest first: the defaults of every file before the associations of any.
    const std::vector<std::vector<std::string_view>> rounds{{defaultsGroup},
                                                            {addedGroup, cacheGroup}};
    for (const std::string& candidate : typeAndParents(type, namings)) {
        for (const auto& groups : rounds) {
            for (const ListFile& file : files) {
                for (const Naming& naming : namings) {
                    if (naming.file == file.path &&
                        std::find(groups.begin(), groups.end(), naming.group) != groups.end() &&
                        g_content_type_equals(naming.type.c_str(), candidate.c_str())) {
                        said.decided(naming);
                        return Decision{naming.file, naming.group, naming.type};
                    }
                }
                said.passed(file, groups, candidate);
            }
            said.roundEnded(candidate);
        }
    }
    // GIO reads no MimeType line itself; where nothing registered the entry, its own line says
    // which types it opens.
    const std::vector<Naming> own = entryTypes(entryFile);
    for (const std::string& candidate : typeAndParents(type, own)) {
        for (const Naming& naming : own) {
            if (g_content_type_equals(naming.type.c_str(), candidate.c_str())) {
                said.decidedByEntry(naming);
                return Decision{naming.file, naming.group, naming.type};
            }
        }
    }
    said.undecided();
    return std::nullopt;
}

} // namespace qimlar::xdg
