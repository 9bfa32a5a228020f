#include "xdg/AtomicFile.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qimlar::xdg {

namespace {

Failure failed(const std::string& what, const std::string& path, int error)
{
    return Failure{"cannot " + what + " " + path + ": " + g_strerror(error)};
}

std::string folderOf(const std::string& path)
{
    gchar* folder = g_path_get_dirname(path.c_str());
    std::string result = folder;
    g_free(folder);
    return result;
}

// Once a rename or an unlink is done, the folder's entry reaches the disk too. A folder that
// cannot be synced (some file systems refuse) has the change all the same.
void syncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

bool writeAll(int fd, const std::string& bytes)
{
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = ENOSPC;
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

// Writes the temporary file `fd` fully and gives it the old file's mode and owner.
bool fillTemporary(int fd, const std::string& bytes, const struct stat* old)
{
    if (!writeAll(fd, bytes))
        return false;
    if (old) {
        // Only root may give a file away; anyone else keeps the owner they have.
        if ((old->st_uid != geteuid() || old->st_gid != getegid()) &&
            fchown(fd, old->st_uid, old->st_gid) != 0 && errno != EPERM)
            return false;
        if (fchmod(fd, old->st_mode & 07777) != 0)
            return false;
    }
    return fsync(fd) == 0;
}

} // namespace

Outcome<std::string> linkTarget(const std::string& path)
{
    std::string current = path;
    for (int links = 0; links < 40; ++links) {
        struct stat status
        {};
        if (lstat(current.c_str(), &status) != 0)
            return errno == ENOENT ? Outcome<std::string>(current)
                                   : failed("follow", current, errno);
        if (!S_ISLNK(status.st_mode))
            return current;
        GError* error = nullptr;
        gchar* target = g_file_read_link(current.c_str(), &error);
        if (!target) {
            Failure failure{"cannot follow " + current + ": " + error->message};
            g_error_free(error);
            return failure;
        }
        current =
            g_path_is_absolute(target) ? std::string(target) : folderOf(current) + "/" + target;
        g_free(target);
    }
    return failed("follow", path, ELOOP);
}

Outcome<std::optional<std::string>> readIfPresent(const std::string& path)
{
    gchar* contents = nullptr;
    gsize length = 0;
    GError* error = nullptr;
    if (g_file_get_contents(path.c_str(), &contents, &length, &error)) {
        std::optional<std::string> bytes(std::in_place, contents, length);
        g_free(contents);
        return bytes;
    }
    const bool missing = g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
    Failure failure{"cannot read " + path + ": " + error->message};
    g_error_free(error);
    if (missing)
        return std::optional<std::string>();
    return failure;
}

Status makeFolders(const std::string& folder)
{
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0)
        return failed("make the folder", folder, errno);
    return Done{};
}

Status replaceFile(const std::string& path, const std::string& bytes)
{
    const auto target = linkTarget(path);
    if (!target)
        return Failure{target.reason()};
    const std::string folder = folderOf(*target);
    struct stat old
    {};
    const bool exists = stat(target->c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return failed("write", *target, errno);
    if (exists && !S_ISREG(old.st_mode))
        return Failure{"cannot write " + *target + ": not a regular file"};
    if (!exists)
        if (const Status made = makeFolders(folder); !made)
            return made;

    gchar* base = g_path_get_basename(target->c_str());
    std::string temporary = folder + "/." + base + ".XXXXXX";
    g_free(base);
    // A new file gets 0644 less the umask from open() itself; an old one its own mode later.
    const int fd = g_mkstemp_full(temporary.data(), O_WRONLY | O_CLOEXEC, exists ? 0600 : 0644);
    if (fd < 0)
        return failed("write", *target, errno);
    bool written = fillTemporary(fd, bytes, exists ? &old : nullptr);
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && rename(temporary.c_str(), target->c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        return failed("write", *target, error);
    }
    syncFolder(folder);
    return Done{};
}

Status removeFile(const std::string& path)
{
    const auto target = linkTarget(path);
    if (!target)
        return Failure{target.reason()};
    if (unlink(target->c_str()) != 0 && errno != ENOENT)
        return failed("remove", *target, errno);
    syncFolder(folderOf(*target));
    return Done{};
}

} // namespace qimlar::xdg
