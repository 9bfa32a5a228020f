#include "xdg/AssociationLists.h"

#include "xdg/Folders.h"

#include <glib.h>

#include <cstring>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <utility>

namespace qimlar::xdg {

namespace {

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

// The index of a list file, and the file as it was when it was read.
struct CachedIndex
{
    struct stat read
    {};
    Index index;
};

// Called with the lock below held. Null where the file is missing or not a plain file; `odd`
// tells, where asked, whether it is there but neither a plain file nor a folder.
const Index* cachedIndexOf(const ListFile& file, bool* odd = nullptr)
{
    static std::map<std::string, CachedIndex> cache;
    struct stat now
    {};
    // Only a plain file is opened: a named pipe would keep the read waiting for ever.
    const bool there = ::stat(file.path.c_str(), &now) == 0;
    if (!there || !S_ISREG(now.st_mode)) {
        cache.erase(file.path);
        if (odd)
            *odd = there && !S_ISDIR(now.st_mode);
        return nullptr;
    }
    auto [at, added] = cache.try_emplace(file.path);
    if (added || !sameFile(at->second.read, now))
        at->second = {now, indexOf(file.path, file.groups)};
    return &at->second.index;
}

} // namespace

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

namespace {
std::mutex lock;
} // namespace

std::vector<Naming> namingsOf(const std::vector<ListFile>& files, const std::string& desktopId)
{
    std::vector<Naming> namings;
    const std::lock_guard held(lock);
    for (const ListFile& file : files) {
        if (const Index* index = cachedIndexOf(file)) {
            if (const auto named = index->find(desktopId); named != index->end())
                namings.insert(namings.end(), named->second.begin(), named->second.end());
        }
    }
    return namings;
}

Outcome<std::set<std::string>> namedAmong(const std::vector<ListFile>& files,
                                          const std::vector<std::string>& desktopIds)
{
    std::set<std::string> named;
    const std::lock_guard held(lock);
    for (const ListFile& file : files) {
        bool odd = false;
        if (const Index* index = cachedIndexOf(file, &odd)) {
            for (const std::string& id : desktopIds)
                if (index->count(id) != 0)
                    named.insert(id);
        } else if (odd) {
            return Failure{"cannot read " + file.path + ": not a regular file"};
        }
    }
    return named;
}

bool anyListNamesType(const std::vector<ListFile>& files, const std::string& type)
{
    const std::lock_guard held(lock);
    for (const ListFile& file : files) {
        if (const Index* index = cachedIndexOf(file)) {
            for (const auto& [id, namings] : *index)
                for (const Naming& naming : namings)
                    if (naming.type == type)
                        return true;
        }
    }
    return false;
}

} // namespace qimlar::xdg
