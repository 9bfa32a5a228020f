#include "Console.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace qimlar::console {

std::vector<std::string> arguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool write(std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

std::FILE* openForReading(const std::string& file)
{
    return file == "-" ? stdin : std::fopen(file.c_str(), "rb");
}

long readSome(std::FILE* stream, char* buffer, std::size_t size)
{
    ssize_t read = 0;
    do
        read = ::read(::fileno(stream), buffer, size);
    while (read < 0 && errno == EINTR);
    return static_cast<long>(read);
}

bool readyToRead(std::FILE* stream)
{
    pollfd input{.fd = ::fileno(stream), .events = POLLIN, .revents = 0};
    return ::poll(&input, 1, 0) > 0;
}

namespace {

// Every signal whose default action ends the process, but SIGPIPE: while a probe is recorded
// it is ignored, a closed pipe failing the write instead. SIGKILL and SIGSTOP cannot be caught.
constexpr int endingSignals[] = {SIGINT,    SIGTERM, SIGHUP,  SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM,
                                 SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGPOLL, SIGPWR,  SIGSYS,
                                 SIGTRAP,   SIGABRT, SIGBUS,  SIGFPE,  SIGILL,  SIGSEGV, SIGSTKFLT};

// The real-time signals end the process too, unless handled.
template <typename Each> void forEachEndingSignal(Each each)
{
    for (const int signal : endingSignals)
        each(signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        each(signal);
}

// The probe's name where the signal handler reads it, changed only while the ending signals
// are blocked. No name the system can open is longer.
char recordedProbe[PATH_MAX];
bool handlersInstalled = false;
sigset_t maskBefore;
struct sigaction pipeAction;

sigset_t endingSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    forEachEndingSignal([&set](int signal) { sigaddset(&set, signal); });
    return set;
}

// Async-signal-safe: unlink, then the signal's own action, which ends the process.
extern "C" void deleteProbeAndEnd(int number)
{
    if (recordedProbe[0] != '\0')
        ::unlink(recordedProbe);
    ::signal(number, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, number);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(number);
}

void installHandlers()
{
    struct sigaction action = {};
    action.sa_handler = deleteProbeAndEnd;
    action.sa_mask = endingSignalSet();
    forEachEndingSignal([&action](int signal) {
        // A signal the caller has us ignore (nohup, a background job) stays ignored, and one
        // that is handled already (a sanitizer's report of a crash) stays with its handler.
        struct sigaction before = {};
        if (::sigaction(signal, nullptr, &before) == 0 && !(before.sa_flags & SA_SIGINFO) &&
            before.sa_handler == SIG_DFL)
            ::sigaction(signal, &action, nullptr);
    });
    handlersInstalled = true;
}

} // namespace

ProbeChange::ProbeChange()
{
    const sigset_t set = endingSignalSet();
    ::sigprocmask(SIG_BLOCK, &set, &maskBefore);
}

ProbeChange::~ProbeChange()
{
    ::sigprocmask(SIG_SETMASK, &maskBefore, nullptr);
}

void ProbeChange::record(const std::string& probe)
{
    if (!handlersInstalled)
        installHandlers();
    const bool held = recordedProbe[0] != '\0';
    if (probe.size() < sizeof recordedProbe)
        std::memcpy(recordedProbe, probe.c_str(), probe.size() + 1);
    else
        recordedProbe[0] = '\0';
    const bool holds = recordedProbe[0] != '\0';
    if (holds && !held) {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &pipeAction);
    } else if (held && !holds) {
        ::sigaction(SIGPIPE, &pipeAction, nullptr);
    }
}

} // namespace qimlar::console
