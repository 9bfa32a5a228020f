#include "ProgramFiles.h"

#include <glib.h>

#include <sys/stat.h>
#include <unistd.h>

namespace qimlar {

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

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::string inFolder(std::string folder, const std::string& name)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/" + name;
}

} // namespace qimlar
