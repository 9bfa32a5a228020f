#pragma once

#include <string>
#include <sys/stat.h>
#include <vector>

namespace qimlar::xdg {

// `name` in `folder`, with one "/" between them however many the folder ends in: XDG_DATA_DIRS
// often ends its folders in one ("/usr/share/"), and paths shown to people should not double it.
std::string inFolder(std::string folder, const std::string& name);

// The shared MIME databases' files of one name (globs2, types, ...) that exist, in the order
// GIO reads them: in XDG_DATA_HOME/mime, then in each XDG_DATA_DIRS/mime.
std::vector<std::string> mimeDatabaseFiles(const std::string& name);

// Whether two stat() answers are of the same file, unchanged in between: a cache read from it
// still holds.
bool sameFile(const struct stat& a, const struct stat& b);

} // namespace qimlar::xdg
