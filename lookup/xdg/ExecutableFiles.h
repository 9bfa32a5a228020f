#pragma once

#include <string>

namespace qimlar::xdg {

// Whether `path` names a regular file this process may execute.
bool isExecutableFile(const std::string& path);

// The full path of the program `name` names, as a shell finds it: on PATH for a bare name, the
// name itself when it holds a "/". Empty when there is no such executable file.
std::string programOnPath(const std::string& name);

} // namespace qimlar::xdg
