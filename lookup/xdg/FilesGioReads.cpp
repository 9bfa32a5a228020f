#include "xdg/FilesGioReads.h"

#include "xdg/AssociationLists.h"
#include "xdg/EntryFolders.h"

#include <set>
#include <sys/stat.h>

namespace qimlar::xdg {

namespace {

Status readable(const std::string& path)
{
    struct stat info
    {};
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode) || S_ISDIR(info.st_mode))
        return Done{};
    return Failure{"cannot read " + path + ": not a regular file"};
}

} // namespace

Status checkFilesGioReads()
{
    // The lists first: which entries they name is known only once their plain files are read.
    const std::vector<EntryFile> entries = entriesNotRegular();
    std::vector<std::string> ids;
    for (const EntryFile& entry : entries)
        ids.push_back(entry.id);
    const auto named = namedAmong(listFiles(), ids);
    if (!named)
        return Failure{named.reason()};
    for (const EntryFile& entry : entries) {
        if (named->count(entry.id) == 0)
            continue;
        if (auto status = readable(entry.path); !status)
            return status;
    }
    return Done{};
}

} // namespace qimlar::xdg
