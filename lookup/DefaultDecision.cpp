#include "DefaultDecision.h"

#include <gio/gio.h>

#include <algorithm>
#include <cstring>
#include <string_view>
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

// A place where a file names the entry for a type.
struct Naming
{
    std::string file;
    const char* group;
    std::string type;
};

void addNamings(std::vector<Naming>& namings, const ListFile& file, const std::string& desktopId)
{
    g_autoptr(GKeyFile) keys = g_key_file_new();
    if (!g_key_file_load_from_file(keys, file.path.c_str(), G_KEY_FILE_NONE, nullptr))
        return;
    for (const char* group : file.groups) {
        g_auto(GStrv) types = g_key_file_get_keys(keys, group, nullptr, nullptr);
        for (gchar** type = types; type && *type; ++type) {
            g_auto(GStrv) ids = g_key_file_get_string_list(keys, group, *type, nullptr, nullptr);
            if (ids && g_strv_contains(ids, desktopId.c_str()))
                namings.push_back({file.path, group, *type});
        }
    }
}

// The entry's own MimeType line, as namings of the entry by itself.
void addEntryTypes(std::vector<Naming>& namings, const std::string& entryFile)
{
    g_autoptr(GKeyFile) keys = g_key_file_new();
    if (!g_key_file_load_from_file(keys, entryFile.c_str(), G_KEY_FILE_NONE, nullptr))
        return;
    g_auto(GStrv) types =
        g_key_file_get_string_list(keys, entryGroup, "MimeType", nullptr, nullptr);
    for (gchar** type = types; type && *type; ++type)
        namings.push_back({entryFile, "MimeType", *type});
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
    // A parent that is itself a kind of another parent is the nearer one.
    const auto ancestors = [&](const std::string& parent) {
        return std::count_if(parents.begin(), parents.end(), [&](const std::string& other) {
            return other != parent && g_content_type_is_a(parent.c_str(), other.c_str());
        });
    };
    std::stable_sort(parents.begin(), parents.end(),
                     [&](const auto& a, const auto& b) { return ancestors(a) > ancestors(b); });
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
    for (const ListFile& file : listFiles())
        addNamings(namings, file, desktopId);
    addEntryTypes(namings, entryFile);

    // For each type, the defaults of every file before the associations of any.
    const std::initializer_list<std::initializer_list<std::string_view>> rounds = {
        {defaultsGroup}, {addedGroup, cacheGroup}, {"MimeType"}};
    for (const std::string& candidate : typeAndParents(type, namings)) {
        for (const auto& groups : rounds) {
            for (const Naming& naming : namings) {
                if (std::find(groups.begin(), groups.end(), naming.group) != groups.end() &&
                    g_content_type_equals(naming.type.c_str(), candidate.c_str()))
                    return Decision{naming.file, naming.group, naming.type};
            }
        }
    }
    return std::nullopt;
}

} // namespace qimlar::desktop
