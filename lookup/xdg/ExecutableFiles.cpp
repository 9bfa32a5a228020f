#include "xdg/ExecutableFiles.h"

#include <glib.h>

#include <sys/stat.h>
#include <unistd.h>

namespace qimlar::xdg {

bool isExecutableFile(const std::string& path)
{
    struct stat info
    {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string programOnPath(const std::string& name)
{
    g_autofree gchar* path = g_find_program_in_path(name.c_str());
    return path ? std::string(path) : std::string();
}

} // namespace qimlar::xdg
