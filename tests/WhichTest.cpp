// qimlar-which as a user runs it: the real program, in the tests' own freedesktop environment,
// with its standard output and error caught byte for byte.

#include "Freedesktop.h"
#include "PlatformLinux.h"
#include "TempTree.h"
#include "lookup/FindExe.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

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

    // Runs qimlar-which with `arguments`, its output going to `out` (a file of the test's own
    // unless named).
    static Outcome run(const std::vector<std::string>& arguments, std::string out = "")
    {
        if (out.empty())
            out = *tree / "out";
        const std::string err = *tree / "err";
        std::vector<char*> argv{const_cast<char*>(QIMLAR_WHICH)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t pid = 0;
        Outcome result;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(pid, &status, 0);
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        posix_spawn_file_actions_destroy(&actions);
        if (out == *tree / "out")
            result.out = TempTree::read(out);
        result.err = TempTree::read(err);
        return result;
    }
};

} // namespace

TEST_F(Which, PrintsOneLinePerExtensionInOrderAndSaysWhetherAllWereFound)
{
    const Outcome hit = run({"mp3"});
    EXPECT_EQ(hit.out, desktop->player + "\n");
    EXPECT_EQ(hit.status, 0);
    EXPECT_EQ(hit.err, "");

    const Outcome miss = run({"qimlar-unknown"});
    EXPECT_EQ(miss.out, "\n");
    EXPECT_EQ(miss.status, 1);

    const Outcome mixed = run({"ogg", "orphan", "MP3", "", "latin"});
    EXPECT_EQ(mixed.out, desktop->spacedPlayer + "\n\n" + desktop->player + "\n\n" +
                             desktop->latinPlayer + "\n");
    EXPECT_EQ(mixed.status, 1);

    const Outcome allFound = run({"mp3", "ogg", "latin"});
    EXPECT_EQ(allFound.status, 0);
    EXPECT_EQ(allFound.out,
              desktop->player + "\n" + desktop->spacedPlayer + "\n" + desktop->latinPlayer + "\n");
    EXPECT_TRUE(TempTree::names(desktop->tempFolder).empty());
}

TEST_F(Which, AnswersWhatTheWindowsLookupAnswersForEveryInput)
{
    const std::vector<std::string> inputs = {
        "mp3",   ".mp3", "MP3", " mp3",      "mp3 ",     "../mp3", "a/b", "tar.gz",
        "-",     "~",    "*",   "\xe9t\xe9", "\xd8\xa3", "latin",  "ogg", std::string(300, 'x'),
        "$(id)", "mp3\n"};
    for (const std::string& input : inputs) {
        const Outcome asked = run({"--", input});
        const auto answer = qimlar::LookUpProgram(input, qimlar::nativePlatform());
        EXPECT_EQ(asked.out, answer.program + "\n") << input;
        const int status = answer.status == qimlar::LookupStatus::Trouble ? 2
                           : answer.program.empty()                       ? 1
                                                                          : 0;
        EXPECT_EQ(asked.status, status) << input;
    }
}

TEST_F(Which, DoubleDashEndsTheOptionsAndALoneDashIsAnExtension)
{
    const Outcome dashed = run({"--", "-dash", "--", "--help"});
    EXPECT_EQ(dashed.out, desktop->player + "\n\n\n");
    EXPECT_EQ(dashed.status, 1);

    const Outcome lone = run({"-"});
    EXPECT_EQ(lone.out, "\n");
    EXPECT_EQ(lone.status, 1);

    const Outcome nulls = run({"-z", "mp3", "orphan"});
    EXPECT_EQ(nulls.out, desktop->player + std::string(1, '\0') + std::string(1, '\0'));
}

TEST_F(Which, UsageErrorsPrintNothingOnStandardOutputAndExitWithTwo)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"--"}, {"-dash"}, {"mp3", "--bogus"}, {"--help=x"}, {"-zx", "mp3"}}) {
        const Outcome wrong = run(arguments);
        EXPECT_EQ(wrong.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(wrong.out, "");
        EXPECT_NE(wrong.err.find("qimlar-which"), std::string::npos) << wrong.err;
    }
    EXPECT_TRUE(TempTree::names(desktop->tempFolder).empty());
}

TEST_F(Which, HelpAndVersionGoToStandardOutput)
{
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: qimlar-which", 0), 0u) << help.out;
    EXPECT_EQ(run({"-h"}).out, help.out);

    const Outcome version = run({"mp3", "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "qimlar-which " QIMLAR_VERSION "\n");
}

TEST_F(Which, AnAnswerThatCannotBeWrittenIsNoSuccess)
{
    const Outcome full = run({"mp3"}, "/dev/full");
    EXPECT_EQ(full.status, 2);
    EXPECT_NE(full.err.find("writing the answers"), std::string::npos) << full.err;
    EXPECT_EQ(run({"--version"}, "/dev/full").status, 2);
}

TEST_F(Which, TroubleExitsWithTwoAndNamesItsCauseKeepingOneLinePerExtension)
{
    setenv("TMPDIR", (*tree / "no-such").c_str(), 1);
    const Outcome trouble = run({"mp3", "ogg"});
    setenv("TMPDIR", desktop->tempFolder.c_str(), 1);
    EXPECT_EQ(trouble.status, 2);
    EXPECT_EQ(trouble.out, "\n\n");
    EXPECT_NE(trouble.err.find("qimlar-which: cannot make a file in " +
                               (*tree / "no-such/").string() + ": No such file or directory\n"),
              std::string::npos)
        << trouble.err;
}
