#pragma once

#include <string>
#include <sys/stat.h>

namespace qimlar {

// Whether `path` names a regular file this process may execute.
bool isExecutableFile(const std::string& path);

// The full path of the program `name` names, as a shell finds it: on PATH for a bare name, the
// name itself when it holds a "/". Empty when there is no such executable file.
std::string programOnPath(const std::string& name);

// `name` in `folder`, with one "/" between them however many the folder ends in: XDG_DATA_DIRS
// often ends its folders in one ("/usr/share/"), and paths shown to people should not double it.
// Whether two stat() answers are of the same file, unchanged in between: a cache read from it
// still holds.
bool sameFile(const struct stat& a, const struct stat& b);

std::string inFolder(std::string folder, const std::string& name);

} // namespace qimlar
