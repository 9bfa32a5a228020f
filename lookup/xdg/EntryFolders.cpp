#include "xdg/EntryFolders.h"

#include "xdg/Folders.h"

#include <glib.h>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace qimlar::xdg {

namespace {

struct Listing
{
    std::vector<std::pair<std::string, struct stat>> folders; // as they were when listed
    std::vector<EntryFile> regular;               // plain files, as the folder listing says
    std::vector<EntryFile> others;                // links, named pipes, devices, ...
    std::unique_ptr<std::set<std::string>> types; // their MimeType lines, read once asked for
};

std::vector<std::string> applicationFolders()
{
    std::vector<std::string> folders{inFolder(g_get_user_data_dir(), "applications")};
    for (const gchar* const* dir = g_get_system_data_dirs(); *dir; ++dir)
        folders.push_back(inFolder(*dir, "applications"));
    return folders;
}

// Lists `folder` and its subfolders (not those behind links, which GIO does not list either);
// `prefix` is the desktop ID's part that the subfolders make.
void list(const std::string& folder, const std::string& prefix, Listing& listing)
{
    struct stat info
    {};
    if (::stat(folder.c_str(), &info) != 0)
        return;
    listing.folders.emplace_back(folder, info);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> subfolders;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "/" + name;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat own
            {};
            type = ::lstat(path.c_str(), &own) != 0 ? DT_UNKNOWN
                   : S_ISDIR(own.st_mode)           ? DT_DIR
                   : S_ISREG(own.st_mode)           ? DT_REG
                                                    : DT_UNKNOWN;
        }
        if (type == DT_DIR)
            subfolders.push_back(name);
        else if (name.size() > 8 && name.ends_with(".desktop"))
            (type == DT_REG ? listing.regular : listing.others).push_back({prefix + name, path});
    }
    ::closedir(dir);
    for (const std::string& name : subfolders)
        list(folder + "/" + name, prefix + name + "-", listing);
}

bool unchanged(const Listing& listing, const std::vector<std::string>& folders)
{
    const auto listed = [&listing](const std::string& folder) {
        return std::any_of(listing.folders.begin(), listing.folders.end(),
                           [&](const auto& seen) { return seen.first == folder; });
    };
    for (const auto& [folder, then] : listing.folders) {
        struct stat now
        {};
        if (::stat(folder.c_str(), &now) != 0 || !sameFile(then, now))
            return false;
    }
    // A top folder that was missing may have come.
    return std::all_of(folders.begin(), folders.end(), [&](const std::string& folder) {
        struct stat now
        {};
        return listed(folder) || ::stat(folder.c_str(), &now) != 0;
    });
}

// The types a regular entry file names; none for anything else, which is not waited for.
void addTypesOf(const std::string& path, std::set<std::string>& types)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    std::string text;
    struct stat info
    {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        char chunk[8192];
        for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) > 0;)
            text.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    g_autoptr(GKeyFile) keys = g_key_file_new();
    if (text.empty() ||
        !g_key_file_load_from_data(keys, text.data(), text.size(), G_KEY_FILE_NONE, nullptr))
        return;
    g_auto(GStrv) named =
        g_key_file_get_string_list(keys, "Desktop Entry", "MimeType", nullptr, nullptr);
    for (gchar** type = named; type && *type; ++type)
        types.insert(*type);
}

std::mutex lock;

// Called with the lock held.
Listing& currentListing()
{
    static Listing listing;
    const auto folders = applicationFolders();
    if (!unchanged(listing, folders)) {
        listing = {};
        for (const std::string& folder : folders)
            list(folder, "", listing);
    }
    return listing;
}

} // namespace

std::vector<EntryFile> entriesNotRegular()
{
    const std::lock_guard held(lock);
    return currentListing().others;
}

bool anyEntryNamesType(const std::string& type)
{
    const std::lock_guard held(lock);
    Listing& listing = currentListing();
    if (!listing.types) {
        listing.types = std::make_unique<std::set<std::string>>();
        for (const EntryFile& entry : listing.regular)
            addTypesOf(entry.path, *listing.types);
    }
    return listing.types->count(type) != 0;
}

} // namespace qimlar::xdg
