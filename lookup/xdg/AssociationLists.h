#pragma once

#include "lookup/Outcome.h"

#include <set>
#include <string>
#include <vector>

namespace qimlar::xdg {

// The groups of the association lists.
inline constexpr const char* defaultsGroup = "Default Applications";
inline constexpr const char* addedGroup = "Added Associations";
inline constexpr const char* removedGroup = "Removed Associations";
inline constexpr const char* cacheGroup = "MIME Cache";

// One file GIO reads for associations, and the groups it takes from it: the desktop-specific
// lists and defaults.list may only name defaults.
struct ListFile
{
    std::string path;
    std::vector<const char*> groups;
};

// Every file GIO reads for associations, highest precedence first: in XDG_CONFIG_HOME,
// XDG_CONFIG_DIRS, XDG_DATA_HOME/applications and XDG_DATA_DIRS/applications, in each the
// lists of the desktops in XDG_CURRENT_DESKTOP before mimeapps.list, and in the data folders
// defaults.list and mimeinfo.cache after it.
std::vector<ListFile> listFiles();

// A place where a list file names an entry for a type.
struct Naming
{
    std::string file;
    const char* group;
    std::string type;
};

// Where `files` name `desktopId`, in the files' order, each file's group by group. A file is
// read again only once it has changed: a desktop's mimeinfo.cache names thousands of types,
// too many to read on every lookup. Only plain files are read.
std::vector<Naming> namingsOf(const std::vector<ListFile>& files, const std::string& desktopId);

// Which of `desktopIds` any of `files` names, for any type. Fails, naming the file, where one of
// `files` is there but neither a plain file nor a folder (which GIO reads as nothing): GIO would
// wait for ever on a named pipe. Each file is looked at once, however many the IDs: a Flatpak
// user's links are dozens.
Outcome<std::set<std::string>> namedAmong(const std::vector<ListFile>& files,
                                          const std::vector<std::string>& desktopIds);

// Whether any of `files` names an entry for `type`.
bool anyListNamesType(const std::vector<ListFile>& files, const std::string& type);

} // namespace qimlar::xdg
