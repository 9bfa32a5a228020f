#include "xdg/Folders.h"

#include <glib.h>

namespace qimlar::xdg {

std::string inFolder(std::string folder, const std::string& name)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/" + name;
}

std::vector<std::string> mimeDatabaseFiles(const std::string& name)
{
    std::vector<std::string> folders{g_get_user_data_dir()};
    for (const gchar* const* dir = g_get_system_data_dirs(); *dir; ++dir)
        folders.emplace_back(*dir);
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        const std::string file = inFolder(folder, "mime/" + name);
        if (g_file_test(file.c_str(), G_FILE_TEST_IS_REGULAR))
            files.push_back(file);
    }
    return files;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

} // namespace qimlar::xdg
