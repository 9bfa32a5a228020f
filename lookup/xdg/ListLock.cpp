#include "xdg/ListLock.h"

#include <glib.h>

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <thread>
#include <unistd.h>

namespace qimlar::xdg {

namespace {

using namespace std::chrono_literals;

// QLockFile's default: a lock older than this is left over, whoever holds it.
constexpr auto staleAge = 30s;
constexpr auto pollInterval = 20ms;

std::string firstLine(const std::string& path, std::size_t limit = std::string::npos)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line.substr(0, limit);
}

// The name QLockFile records for a process: its executable's file name.
std::string processName(long long pid, bool& gone)
{
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    char target[4096];
    const ssize_t length = readlink(link.c_str(), target, sizeof target);
    gone = length < 0 && errno == ENOENT;
    if (length < 0)
        return {};
    std::string name(target, static_cast<std::size_t>(length));
    const std::string deleted = " (deleted)";
    if (name.ends_with(deleted))
        name.resize(name.size() - deleted.size());
    return name.substr(name.rfind('/') + 1);
}

std::string hostName()
{
    utsname names{};
    return uname(&names) == 0 ? names.nodename : "";
}

// QSysInfo::machineUniqueId() and bootUniqueId(), as Qt reads them on Linux.
std::string machineId()
{
    for (const char* path :
         {"/etc/machine-id", "/var/lib/dbus/machine-id", "/usr/local/var/lib/dbus/machine-id"})
        if (std::string id = firstLine(path, 32); !id.empty())
            return id;
    return {};
}

std::string bootId()
{
    return firstLine("/proc/sys/kernel/random/boot_id", 36);
}

struct Holder
{
    long long pid = 0; // 0 when the lock says nothing readable
    std::string program, host, machine, boot;
};

Holder readHolder(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    Holder holder;
    std::string pid;
    std::getline(in, pid);
    std::getline(in, holder.program);
    std::getline(in, holder.host);
    std::getline(in, holder.machine);
    std::getline(in, holder.boot);
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), holder.pid);
    if (error != std::errc() || end != pid.data() + pid.size() || holder.pid <= 0)
        holder.pid = 0;
    return holder;
}

bool isRunning(const Holder& holder)
{
    if (kill(static_cast<pid_t>(holder.pid), 0) == -1 && errno == ESRCH)
        return false;
    bool gone = false;
    const std::string name = processName(holder.pid, gone);
    if (gone)
        return false;
    // Another user's process hides its executable; it counts as the holder, to be safe.
    const std::string recorded = holder.program.substr(holder.program.rfind('/') + 1);
    return name.empty() || name == recorded; // else the process id went to another program
}

// QLockFilePrivate::isApparentlyStale(): the holder is gone on this machine or was before its
// last boot, or the lock is older than any short rewrite takes.
bool isStale(const std::string& path)
{
    const Holder holder = readHolder(path);
    if (holder.pid != 0) {
        bool sameHost = holder.host.empty() || holder.host == hostName();
        if (const std::string ours = machineId(); !holder.machine.empty() && !ours.empty())
            sameHost = holder.machine == ours;
        if (sameHost) {
            if (!holder.boot.empty() && holder.boot != bootId())
                return true;
            if (!isRunning(holder))
                return true;
        }
    }
    struct stat status
    {};
    if (stat(path.c_str(), &status) != 0)
        return false;
    const auto modified = std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec) +
                          std::chrono::nanoseconds(status.st_mtim.tv_nsec);
    const auto age = std::chrono::system_clock::now() - modified;
    return age > staleAge || age < -staleAge;
}

std::string heldBy(const std::string& path, std::chrono::steady_clock::duration waited)
{
    const Holder holder = readHolder(path);
    const auto seconds = std::chrono::round<std::chrono::seconds>(waited).count();
    std::string who = holder.pid == 0
                          ? "another process"
                          : "process " + std::to_string(holder.pid) + " (" + holder.program + ")";
    return "cannot lock " + path + ": held by " + who + " for " + std::to_string(seconds) +
           (seconds == 1 ? " second" : " seconds");
}

} // namespace

ListLock::ListLock(std::string lockPath) : path_(std::move(lockPath)) {}

ListLock::~ListLock()
{
    if (fd_ < 0)
        return;
    unlink(path_.c_str());
    close(fd_);
}

std::string ListLock::contents()
{
    bool gone = false;
    return std::to_string(getpid()) + "\n" + processName(getpid(), gone) + "\n" + hostName() +
           "\n" + machineId() + "\n" + bootId() + "\n";
}

ListLock::Attempt ListLock::create(int& error)
{
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return error == EEXIST ? Attempt::Held : Attempt::Failed;
    }
    // Held against a stale-lock removal for as long as the lock is ours.
    flock(fd, LOCK_EX | LOCK_NB);
    const std::string text = contents();
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            error = count < 0 ? errno : ENOSPC;
            unlink(path_.c_str());
            close(fd);
            return Attempt::Failed;
        }
        written += static_cast<std::size_t>(count);
    }
    fdatasync(fd);
    fd_ = fd;
    return Attempt::Taken;
}

// As QLockFile does it: one remover at a time, under FILE.lock.rmlock, and only a lock that no
// live holder keeps flock()ed.
bool ListLock::removeStale()
{
    ListLock remover(path_ + ".rmlock");
    if (!remover.take(std::chrono::milliseconds(0)) || !isStale(path_))
        return false;
    const int fd = open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool removed = flock(fd, LOCK_EX | LOCK_NB) == 0 && unlink(path_.c_str()) == 0;
    close(fd);
    return removed;
}

Status ListLock::take(std::chrono::milliseconds wait)
{
    if (fd_ >= 0)
        return Done{};
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        int error = 0;
        switch (create(error)) {
        case Attempt::Taken:
            return Done{};
        case Attempt::Failed:
            return Failure{"cannot lock " + path_ + ": " + g_strerror(error)};
        case Attempt::Held:
            break;
        }
        if (isStale(path_) && removeStale())
            continue;
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited >= wait) {
            busy_ = true;
            return Failure{heldBy(path_, waited)};
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pollInterval, wait - waited));
    }
}

} // namespace qimlar::xdg
