#include "xdg/FilesGioReads.h"

#include "xdg/AssociationLists.h"
#include "xdg/EntryFolders.h"

#include <algorithm>
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
    const std::vector<ListFile> files = listFiles();
    for (const ListFile& file : files)
        if (auto status = readable(file.path); !status)
            return status;
    // The lists' plain files are read by now: which entries they name is known.
    for (const EntryFile& entry : entriesNotRegular()) {
        if (namingsOf(files, entry.id).empty())
            continue;
        if (auto status = readable(entry.path); !status)
            return status;
    }
    return Done{};
}

} // namespace qimlar::xdg
