// The probe file's life on a POSIX file system: the temporary folder, a new file of an
// unguessable name, its renames that never replace, its deletion.

#include "NativePlatform.h"
#include "xdg/SystemFailure.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qimlar {

namespace {

constexpr std::string_view temporaryExtension = ".tmp";

// Sixteen letters and digits from the kernel's random source: a name nobody can guess and
// plant a file or link at beforehand.
std::optional<std::string> unguessablePart()
{
    static constexpr std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz234567";
    std::array<unsigned char, 16> bytes{};
    if (getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        return std::nullopt;
    std::string part;
    for (const unsigned char byte : bytes)
        part += alphabet[byte % alphabet.size()];
    return part;
}

} // namespace

using xdg::systemFailure;

Outcome<std::string> NativePlatform::tempFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

Outcome<std::string> NativePlatform::createUniqueFile(const std::string& folder,
                                                      const std::string& prefix)
{
    // Exclusive creation never follows a link planted at the name; a clash just draws again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto unique = unguessablePart();
        if (!unique)
            return systemFailure("cannot draw a name for a file in " + folder, errno);
        std::string name = folder + prefix + *unique + std::string(temporaryExtension);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              S_IRUSR | S_IWUSR);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            return systemFailure("cannot make a file in " + folder, errno);
    }
    return systemFailure("cannot make a file in " + folder, EEXIST);
}

Status NativePlatform::renameNoReplace(const std::string& from, const std::string& to)
{
    const std::string what = "cannot rename " + from + " to " + to;
    const auto refused = [&what](int error) {
        Failure failure = systemFailure(what, error);
        failure.nameTaken = error == EEXIST;
        return failure;
    };
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return Done{};
    if (errno != EINVAL && errno != ENOSYS)
        return refused(errno);
    // File systems without RENAME_NOREPLACE: a hard link fails where the name is taken.
    if (::link(from.c_str(), to.c_str()) != 0)
        return refused(errno);
    ::unlink(from.c_str());
    return Done{};
}

Status NativePlatform::deleteFile(const std::string& file)
{
    if (::unlink(file.c_str()) == 0)
        return Done{};
    return systemFailure("cannot delete " + file, errno);
}

} // namespace qimlar
