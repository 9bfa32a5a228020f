// qimlar-which as a user runs it: the real program, in the tests' own freedesktop environment,
// with its standard output and error caught byte for byte.

#include "Freedesktop.h"
#include "JsonReader.h"
#include "TempTree.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
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
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            sigaddset(&endings, signal);
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
    // The exit status of the process, or 128 and the signal that ended it.
    static int exitStatus(pid_t pid)
    {
        int status = 0;
        if (pid == 0 || waitpid(pid, &status, 0) != pid)
            return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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

TEST_F(Which, JsonHoldsEveryKeyOfEveryQueryWhateverItsBytes)
{
    const std::vector<std::string> queries = {
        "mp3", "latin", "orphan", "qimlar-unknown", "", "a\"\\\n\x01\xff\xed\xa0\x80"};
    const Outcome asked = run({"--json", "--", "mp3", "latin", "orphan", "qimlar-unknown", "",
                               "a\"\\\n\x01\xff\xed\xa0\x80"});
    EXPECT_EQ(asked.status, 1);
    const auto json = Json::parse(asked.out);
    ASSERT_TRUE(json) << asked.out;
    ASSERT_EQ(json->items.size(), queries.size()) << asked.out;
    // The path that is not UTF-8 keeps its byte as a lone surrogate.
    EXPECT_NE(asked.out.find("caf\\udce9/latin-player"), std::string::npos) << asked.out;

    const auto text = [](const Json& value) {
        return value.kind == Json::Kind::Null ? "" : value.text;
    };
    for (std::size_t i = 0; i < queries.size(); ++i) {
        const Json& answer = (*json)[i];
        const auto expected = qimlar::LookUpProgram(queries[i], qimlar::nativePlatform());
        const bool found = expected.status == qimlar::LookupStatus::Found;
        EXPECT_EQ(answer.keys(),
                  (std::vector<std::string>{"query", "type", "program", "command", "desktop_entry",
                                            "decided_by", "terminal", "status", "reason"}));
        EXPECT_EQ(answer["query"].text, queries[i]);
        EXPECT_EQ(text(answer["type"]), expected.type);
        EXPECT_EQ(text(answer["program"]), expected.program);
        EXPECT_EQ(text(answer["command"]), expected.command);
        EXPECT_EQ(text(answer["desktop_entry"]), expected.entry);
        EXPECT_EQ(text(answer["decided_by"]), found ? expected.decidedBy : "");
        EXPECT_EQ(answer["terminal"].kind, Json::Kind::Boolean);
        EXPECT_EQ(text(answer["reason"]), found ? "" : expected.reason);
    }
    EXPECT_EQ((*json)[0]["program"].text, desktop->player);
    EXPECT_EQ((*json)[1]["program"].text, desktop->latinPlayer);
    const std::vector<std::string> statuses = {"found",        "found",        "no-program",
                                               "unknown-type", "unknown-type", "unknown-type"};
    for (std::size_t i = 0; i < statuses.size(); ++i)
        EXPECT_EQ((*json)[i]["status"].text, statuses[i]) << queries[i];

    const Outcome term = run({"--json", "term"});
    EXPECT_TRUE(Json::parse(term.out).value()[0]["terminal"].boolean) << term.out;
    EXPECT_EQ(run({"--json", "--from", "/dev/null"}).out, "[]\n");
    EXPECT_EQ(run({"--json", "mp3"}, "/dev/full").status, 2);

    setenv("TMPDIR", (*tree / "no-such").c_str(), 1);
    const Outcome trouble = run({"--json", "mp3"});
    setenv("TMPDIR", desktop->tempFolder.c_str(), 1);
    EXPECT_EQ(trouble.status, 2);
    const auto troubled = Json::parse(trouble.out);
    ASSERT_TRUE(troubled) << trouble.out;
    EXPECT_EQ((*troubled)[0]["status"].text, "trouble");
    EXPECT_NE((*troubled)[0]["reason"].text.find("cannot make a file in"), std::string::npos);
    EXPECT_NE(trouble.err.find("cannot make a file in"), std::string::npos);
}

TEST_F(Which, MimeTypesAnswerAsTheirExtensionsDo)
{
    const Outcome byType =
        run({"--mime", "audio/mpeg", "application/x-qimlar-latin", "application/x-qimlar-orphan"});
    EXPECT_EQ(byType.out, desktop->player + "\n" + desktop->latinPlayer + "\n\n");
    EXPECT_EQ(byType.status, 1);

    const auto typeAnswer = Json::parse(run({"-m", "--json", "audio/mpeg"}).out).value()[0];
    const auto extensionAnswer = Json::parse(run({"--json", "mp3"}).out).value()[0];
    ASSERT_EQ(typeAnswer.keys(), extensionAnswer.keys());
    for (std::size_t i = 1; i < typeAnswer.values.size(); ++i) // all but the query
        EXPECT_EQ(typeAnswer.values[i].text, extensionAnswer.values[i].text) << typeAnswer.names[i];
    EXPECT_EQ(run({"-zm", "audio/mpeg"}).out, desktop->player + '\0');
}

TEST_F(Which, FromReadsQueriesAfterTheArgumentsFromFilesAndStandardInput)
{
    // A last line without its newline counts; an empty line is an empty query.
    const std::string lines = tree->write("lines", "latin\n\norphan\nmp3");
    const Outcome fromFile = run({"ogg", "--from", lines});
    EXPECT_EQ(fromFile.out, desktop->spacedPlayer + "\n" + desktop->latinPlayer + "\n\n\n" +
                                desktop->player + "\n");
    EXPECT_EQ(fromFile.status, 1);

    // A final newline adds no query; "-" is standard input.
    const std::string found = tree->write("found", "mp3\nlatin\n");
    const Outcome fromInput = run({"--from=-"}, "", found);
    EXPECT_EQ(fromInput.out, desktop->player + "\n" + desktop->latinPlayer + "\n");
    EXPECT_EQ(fromInput.status, 0);

    // With -z a name may hold a newline; the last NUL adds no query.
    const std::string nuls = tree->write("nuls", std::string("mp3\0mp3\n\0latin\0", 15));
    const Outcome separated = run({"-z", "--from", nuls});
    EXPECT_EQ(separated.out, desktop->player + '\0' + '\0' + desktop->latinPlayer + '\0');
    EXPECT_EQ(separated.status, 1);

    const Outcome missing = run({"mp3", "--from", *tree / "no-such"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("cannot open " + (*tree / "no-such").string() +
                               ": No such file or directory"),
              std::string::npos)
        << missing.err;
    EXPECT_EQ(run({"--from"}).status, 2);
    EXPECT_EQ(run({"--from", tree->root()}).status, 2); // a folder cannot be read
}

// What bash offers for the words typed, the last being completed, from the test's own MIME
// databases.
static std::string bashCompletion(const TempTree& tree, const std::string& words)
{
    const std::string command = "XDG_DATA_HOME='" + (tree / "completion").string() +
                                "' XDG_DATA_DIRS='" + (tree / "sysdata").string() +
                                "' PATH=/usr/bin:/bin /bin/bash -c '. \"$0\"; COMP_WORDS=(" +
                                words +
                                "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _qimlar_which; echo "
                                "\"${COMPREPLY[*]}\"' " QIMLAR_BASH_COMPLETION;
    std::FILE* shell = popen(command.c_str(), "r");
    std::string offered;
    for (int c = std::fgetc(shell); c != EOF; c = std::fgetc(shell))
        offered += static_cast<char>(c);
    pclose(shell);
    return offered;
}

TEST_F(Which, BashCompletesOptionsFilesAndTheDatabasesMimeTypes)
{
    tree->write("completion/mime/types", "audio/x-vorbis+ogg\ntext/plain\naudio/mpeg\n");
    EXPECT_EQ(bashCompletion(*tree, "qimlar-which --mime aud"), "audio/mpeg audio/x-vorbis+ogg\n");
    EXPECT_EQ(bashCompletion(*tree, "qimlar-which -zm te"), "text/plain\n");
    EXPECT_EQ(bashCompletion(*tree, "qimlar-which -- --mime aud"), "\n");
    EXPECT_EQ(bashCompletion(*tree, "qimlar-which --ex"), "--explain\n");
    EXPECT_EQ(bashCompletion(*tree, "qimlar-which --from " + (*tree / "completion/mi").string()),
              (*tree / "completion/mime").string() + "\n");
}

TEST_F(Which, AllListsEveryProgramInTheDesktopsOrderAndExplainSaysWhatDecided)
{
    const std::string bin = *tree / "bin/", apps = *tree / "data/applications/";
    const Outcome all = run({"--all", "mp3", "orphan"});
    EXPECT_EQ(all.out, "mp3 (audio/mpeg): " + bin + "player\n" + "  * " + bin +
                           "player  (default; " + apps + "player.desktop)\n" + "    " + bin +
                           "vlc  (registered; " + apps + "vlc.desktop)\n" + "    " + bin +
                           "viewer  (parent-type; " + apps + "viewer.desktop)\n" +
                           "\norphan (application/x-qimlar-orphan): no-program (no installed "
                           "desktop entry opens application/x-qimlar-orphan or a type it is a "
                           "kind of)\n");
    EXPECT_EQ(all.status, 1);

    const Outcome explained = run({"--explain", "--mime", "audio/mpeg"});
    EXPECT_EQ(explained.out.rfind("audio/mpeg: " + bin + "player\n  ", 0), 0u) << explained.out;
    for (const std::string& step : {"  `audio/mpeg=player.desktop` in [Default Applications] of " +
                                        (*tree / "config/mimeapps.list").string() +
                                        " names player.desktop: this line "
                                        "decides.\n",
                                    "  The desktop entry chosen is " + apps + "player.desktop.\n"})
        EXPECT_NE(explained.out.find(step), std::string::npos) << explained.out;

    const auto json = Json::parse(run({"--json", "--all", "--explain", "mp3", "orphan"}).out);
    ASSERT_TRUE(json);
    const Json& mp3 = (*json)[0];
    EXPECT_EQ(mp3.keys().back(), "explanation");
    const std::vector<std::pair<std::string, std::string>> programs = {
        {"player", "default"}, {"vlc", "registered"}, {"viewer", "parent-type"}};
    ASSERT_EQ(mp3["programs"].items.size(), programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const Json& program = mp3["programs"][i];
        EXPECT_EQ(program.keys(), (std::vector<std::string>{"program", "command", "desktop_entry",
                                                            "default", "relation"}));
        EXPECT_EQ(program["program"].text, bin + programs[i].first);
        EXPECT_EQ(program["command"].text, programs[i].first);
        EXPECT_EQ(program["desktop_entry"].text, apps + programs[i].first + ".desktop");
        EXPECT_EQ(program["default"].boolean, i == 0);
        EXPECT_EQ(program["relation"].text, programs[i].second);
    }
    // The first sentence names the probe, whose name differs each time.
    const auto steps =
        qimlar::LookUpProgram("mp3", qimlar::nativePlatform(), {.explanation = true}).explanation;
    ASSERT_EQ(mp3["explanation"].items.size(), steps.size());
    for (std::size_t i = 1; i < steps.size(); ++i)
        EXPECT_EQ(mp3["explanation"][i].text, steps[i]);
    EXPECT_EQ((*json)[1]["programs"].kind, Json::Kind::Array);
    EXPECT_TRUE((*json)[1]["programs"].items.empty());
}

TEST_F(Which, LeavesNoProbeBehindWhileWaitingForQueriesOrWhenEndedFromOutside)
{
    // Waiting on a pipe that stays open, between lines, and ended there by a signal.
    Piped waiting = start({"--from", "-"});
    send(waiting, "mp3\nlatin\n");
    EXPECT_EQ(waiting.line(), desktop->player);
    EXPECT_EQ(waiting.line(), desktop->latinPlayer);
    EXPECT_TRUE(tempFolderHolds(0));
    send(waiting, "ogg\n");
    EXPECT_EQ(waiting.line(), desktop->spacedPlayer);
    EXPECT_TRUE(tempFolderHolds(0));
    kill(waiting.pid, SIGTERM);
    EXPECT_EQ(waiting.wait(), 128 + SIGTERM);

    // In the middle of a batch, held up by a reader that does not read: the probe is there.
    std::string batch;
    for (int i = 0; i < 3000; ++i)
        batch += "mp3\n";
    for (const int ending : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
        Piped busy = start({"--from", "-"});
        send(busy, batch);
        ASSERT_TRUE(tempFolderHolds(1)) << ending;
        if (ending == SIGPIPE) {
            // A reader that goes: the write fails as any write may.
            close(busy.out);
            busy.out = -1;
            EXPECT_EQ(busy.wait(), 2);
            EXPECT_NE(TempTree::read(*tree / "err").find("Broken pipe"), std::string::npos);
        } else {
            kill(busy.pid, ending);
            EXPECT_EQ(busy.wait(), 128 + ending);
        }
        EXPECT_TRUE(tempFolderHolds(0)) << ending;
    }
}
