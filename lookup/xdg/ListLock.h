#pragma once

// The lock KDE's writers take before they rewrite a configuration file: FILE.lock, made the way
// Qt's QLockFile makes it (created exclusively, flock()ed while held, holding the process id,
// program, host, machine and boot), so that Qt programs respect ours and we respect theirs.

#include "lookup/Outcome.h"

#include <chrono>
#include <string>

namespace qimlar::xdg {

class ListLock
{
public:
    // The lock named `lockPath` ("…/mimeapps.list.lock"), not yet taken.
    explicit ListLock(std::string lockPath);
    ~ListLock(); // gives it back
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

    // Waits up to `wait` for the lock, polling; a lock whose holder is gone is removed as Qt
    // removes it. Fails naming the holder ("held by process 123 (kate) for 10 seconds") or the
    // system's reason.
    Status take(std::chrono::milliseconds wait);
    // After take() failed: whether it was for a holder that kept the lock the whole wait.
    bool wasBusy() const { return busy_; }

    // What this process writes into a lock: the five lines QLockFile writes.
    static std::string contents();

private:
    enum class Attempt { Taken, Held, Failed };
    Attempt create(int& error);
    bool removeStale();

    std::string path_;
    int fd_ = -1;
    bool busy_ = false;
};

} // namespace qimlar::xdg
