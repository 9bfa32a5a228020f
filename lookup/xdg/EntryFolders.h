#pragma once

#include <string>
#include <vector>

namespace qimlar::xdg {

// A desktop entry in one of the applications folders, by its desktop ID ("kde4-app.desktop"
// for kde4/app.desktop) and its file.
struct EntryFile
{
    std::string id;
    std::string path;
};

// The desktop entries in the applications folders (XDG_DATA_HOME's, then XDG_DATA_DIRS') and
// their subfolders that are not plain files as the folders list them: links, named pipes,
// devices, ... Only a stat() can tell what each one is now. The folders are listed again only
// once one of them has changed.
std::vector<EntryFile> entriesNotRegular();

// Whether an installed desktop entry names `type` on its MimeType line. Only regular files
// are read, without waiting for any: a named pipe swapped in is no entry.
bool anyEntryNamesType(const std::string& type);

} // namespace qimlar::xdg
