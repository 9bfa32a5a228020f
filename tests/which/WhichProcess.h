#pragma once

// qimlar-which as a user runs it: the real program, in the tests' own freedesktop environment,
// with its standard output and error caught byte for byte.

#include "Freedesktop.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

struct Outcome
{
    int status = -1;
    std::string out, err;
};

class Which : public ::testing::Test
{
protected:
    static inline TempTree* tree = nullptr;
    static inline Freedesktop* desktop = nullptr;

    static void SetUpTestSuite()
    {
        tree = new TempTree;
        desktop = new Freedesktop(*tree);
    }
    static void TearDownTestSuite()
    {
        delete desktop;
        delete tree;
    }

    // Starts qimlar-which with `arguments` and its standard streams as `actions` set them
    // (then destroyed), each ending signal at its own action, whatever the test runner set for
    // itself. 0 when it could not start.
    static pid_t spawn(const std::vector<std::string>& arguments,
                       posix_spawn_file_actions_t& actions)
    {
        std::vector<char*> argv{const_cast<char*>(QIMLAR_WHICH)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        sigset_t endings;
        sigemptyset(&endings);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT, SIGUSR1, SIGUSR2,
                                 SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ})
            sigaddset(&endings, signal);
        sigaddset(&endings, SIGRTMIN);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setsigdefault(&attributes, &endings);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) != 0)
            pid = 0;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }
    // The exit status of the process, or 128 and the signal that ended it. One still running
    // after a minute is hung: it is killed.
    static int exitStatus(pid_t pid)
    {
        int status = 0;
        for (int waited = 0; pid != 0 && waited < 6000; ++waited) {
            if (const pid_t ended = waitpid(pid, &status, WNOHANG); ended != 0) {
                if (ended != pid)
                    return -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (pid != 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        return -1;
    }

    // Runs qimlar-which with `arguments`, its output going to `out` (a file of the test's own
    // unless named) and its input read from `in`.
    static Outcome run(const std::vector<std::string>& arguments, std::string out = "",
                       const std::string& in = "/dev/null")
    {
        if (out.empty())
            out = *tree / "out";
        const std::string err = *tree / "err";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        Outcome result;
        result.status = exitStatus(spawn(arguments, actions));
        if (out == *tree / "out")
            result.out = TempTree::read(out);
        result.err = TempTree::read(err);
        return result;
    }

    // qimlar-which reading from a pipe the test writes to (`in`), writing to one it reads.
    struct Piped
    {
        pid_t pid = 0;
        int in = -1, out = -1;

        int wait()
        {
            close(in);
            close(out);
            return exitStatus(pid);
        }
        std::string line() const
        {
            std::string text;
            char c = 0;
            pollfd ready{out, POLLIN, 0};
            while (poll(&ready, 1, 10000) > 0 && read(out, &c, 1) == 1 && c != '\n')
                text += c;
            return text;
        }
    };
    static Piped start(const std::vector<std::string>& arguments)
    {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return {};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, (*tree / "err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        for (const int end : {in[0], in[1], out[0], out[1]})
            posix_spawn_file_actions_addclose(&actions, end);
        const Piped which{.pid = spawn(arguments, actions), .in = in[1], .out = out[0]};
        close(in[0]);
        close(out[1]);
        return which;
    }
    static void send(const Piped& which, const std::string& text)
    {
        ASSERT_EQ(write(which.in, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // Whether the temporary folder comes to hold `count` files within five seconds.
    static bool tempFolderHolds(std::size_t count)
    {
        for (int tries = 0; tries < 500; ++tries) {
            if (TempTree::names(desktop->tempFolder).size() == count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
};
