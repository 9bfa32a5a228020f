// The launcher with real processes. The programs it starts are small scripts that leave a
// trace, so the test sees what ran, with which arguments, and when.

#include "TempTree.h"
#include "lookup/ExecCmd.h"
#include "lookup/Platform.h"
#include "xdg/CommandLine.h"

#include <gtest/gtest.h>

#include <csignal>
#include <pthread.h>
#include <sstream>
#include <unistd.h>

namespace {

class Launcher : public ::testing::Test
{
protected:
    TempTree tree;
    std::filesystem::path trace = tree / "trace";

    // A program that, when it runs, writes `mark` and its arguments to the trace.
    std::string program(const std::string& relative, const std::string& mark,
                        const std::string& before = "")
    {
        return tree.write(relative,
                          "#!/bin/sh\n" + before + "printf '%s\\n' " + mark + " \"$@\" > '" +
                              trace.string() + "'\n",
                          true);
    }

    void run(const std::string& commandLine)
    {
        qimlar::ExecCmd(commandLine, qimlar::nativePlatform());
    }
};

} // namespace

TEST_F(Launcher, ReturnsOnlyOnceTheProgramHasEnded)
{
    run(program("slow", "ended", "sleep 0.3\n"));
    EXPECT_EQ(TempTree::read(trace), "ended\n");
}

TEST_F(Launcher, PassesTheArgumentsAfterThePath)
{
    run(program("show-args", "ran") + " 'two words' plain \"$HOME\" `id`");
    EXPECT_EQ(TempTree::read(trace), "ran\ntwo words\nplain\n$HOME\n`id`\n");
}

TEST_F(Launcher, StartsAPathWithSpacesWholeNotAShorterPrefix)
{
    program("My", "prefix");
    const std::string wanted = program("My Apps/the player", "wanted");
    run(wanted);
    EXPECT_EQ(TempTree::read(trace), "wanted\n");
}

TEST_F(Launcher, ReturnsAtOnceWhenNothingCanBeStarted)
{
    const std::string notExecutable =
        tree.write("plain", "#!/bin/sh\ntouch '" + trace.string() + "'\n");
    const std::string runnable = program("runnable", "ran");
    for (const std::string& commandLine :
         {std::string(), std::string("   "), (tree / "missing").string(), notExecutable,
          tree.root().string(), std::string("'unbalanced"), std::string("qimlar-no-such-program"),
          runnable + std::string("\0 --x", 5)}) {
        run(commandLine);
        EXPECT_FALSE(std::filesystem::exists(trace)) << commandLine;
    }
}

TEST_F(Launcher, NeverHandsAProgramToAShell)
{
    // An executable text file without a "#!" line is what a shell would run as a script.
    const std::string script = tree.write("script", "touch '" + trace.string() + "'\n", true);
    run(script);
    run(script + " --flag");
    EXPECT_FALSE(std::filesystem::exists(trace));
}

// Whatever the caller blocks or ignores, the program starts as a terminal would start it: no
// signal blocked, so it can be stopped, and SIGPIPE at its default, so a closed pipe ends it.
TEST_F(Launcher, StartsTheProgramWithNoSignalBlockedAndSigpipeAtItsDefault)
{
    // The script becomes sed, which reads its own masks: the shell's would be racy, as the shell
    // blocks every signal for a moment while it starts a command.
    const std::string report = tree.write(
        "signals",
        "#!/bin/sh\nexec sed -n 's/^SigBlk:\\t//p; s/^SigIgn:\\t//p' /proc/self/status > '" +
            trace.string() + "'\n",
        true);
    sigset_t blocked, before;
    sigemptyset(&blocked);
    for (const int signal : {SIGINT, SIGTERM, SIGCHLD, SIGUSR1, SIGPIPE})
        sigaddset(&blocked, signal);
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &blocked, &before), 0);
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGPIPE, &ignore, &previous), 0);
    run(report);
    sigaction(SIGPIPE, &previous, nullptr);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);

    std::istringstream masks(TempTree::read(trace));
    std::string blockedHex, ignoredHex;
    ASSERT_TRUE(masks >> blockedHex >> ignoredHex) << masks.str();
    EXPECT_EQ(std::stoull(blockedHex, nullptr, 16), 0u) << blockedHex;
    EXPECT_EQ(std::stoull(ignoredHex, nullptr, 16) & (1ull << (SIGPIPE - 1)), 0u) << ignoredHex;
}

TEST_F(Launcher, ATextBeyondTheSystemsArgumentLimitStartsNothing)
{
    const auto limit = static_cast<std::size_t>(sysconf(_SC_ARG_MAX));
    const std::string runnable = program("runnable", "ran");
    for (const std::string& commandLine :
         {runnable + " " + std::string(limit, 'a'), runnable + " '" + std::string(limit, ' '),
          "/" + std::string(limit, 'a'), std::string(limit, 'a')}) {
        run(commandLine);
        EXPECT_FALSE(std::filesystem::exists(trace)) << commandLine.substr(0, 40);
    }
}

TEST(CommandLine, BareNamesComeFromPathAndNothingIsExpanded)
{
    const auto command = qimlar::xdg::parseCommandLine("sh -c 'echo $HOME' ~ *");
    ASSERT_TRUE(command);
    EXPECT_TRUE(command->program.ends_with("/sh")) << command->program;
    EXPECT_EQ(command->arguments, (std::vector<std::string>{"sh", "-c", "echo $HOME", "~", "*"}));
}
