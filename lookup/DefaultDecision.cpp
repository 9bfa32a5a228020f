#include "DefaultDecision.h"

#include <gio/gio.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace qimlar::desktop {

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
    folders.emplace_back(std::string(g_get_user_data_dir()) + "/applications", true);
    for (const gchar* const* dir = g_get_system_data_dirs(); *dir; ++dir)
        folders.emplace_back(std::string(*dir) + "/applications", true);

    const auto desktops = currentDesktops();
    std::vector<ListFile> files;
    for (const auto& [folder, holdsEntries] : folders) {
        for (const std::string& desktop : desktops)
            files.push_back({folder + "/" + desktop + "-mimeapps.list", {defaultsGroup}});
        files.push_back({folder + "/mimeapps.list", {defaultsGroup, addedGroup}});
        if (holdsEntries) {
            files.push_back({folder + "/defaults.list", {defaultsGroup}});
            files.push_back({folder + "/mimeinfo.cache", {cacheGroup}});
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

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

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

} // namespace

std::string Decision::describe(const std::string& askedType) const
{
    if (g_content_type_equals(type.c_str(), askedType.c_str()))
        return file;
    return file + " (for the parent type " + type + ")";
}

std::optional<Decision> findDecision(const std::string& type, const std::string& desktopId,
                                     const std::string& entryFile)
{
    std::vector<Naming> namings;
    {
        static std::mutex lock;
        const std::lock_guard held(lock);
        for (const ListFile& file : listFiles()) {
            if (const Index* index = cachedIndexOf(file)) {
                if (const auto named = index->find(desktopId); named != index->end())
                    namings.insert(namings.end(), named->second.begin(), named->second.end());
            }
        }
    }
    // For each type, nearest first: the defaults of every file before the associations of any.
    const auto first = [&](const std::vector<Naming>& among,
                           std::initializer_list<std::initializer_list<std::string_view>> rounds)
        -> std::optional<Decision> {
        for (const std::string& candidate : typeAndParents(type, among)) {
            for (const auto& groups : rounds) {
                for (const Naming& naming : among) {
                    if (std::find(groups.begin(), groups.end(), naming.group) != groups.end() &&
                        g_content_type_equals(naming.type.c_str(), candidate.c_str()))
                        return Decision{naming.file, naming.group, naming.type};
                }
            }
        }
        return std::nullopt;
    };
    if (auto decision = first(namings, {{defaultsGroup}, {addedGroup, cacheGroup}}))
        return decision;
    // GIO reads no MimeType line itself; where nothing registered the entry, its own line says
    // which types it opens.
    return first(entryTypes(entryFile), {{"MimeType"}});
}

} // namespace qimlar::desktop
