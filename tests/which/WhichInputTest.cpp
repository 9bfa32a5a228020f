// qimlar-which reading its queries from files and pipes, and its probe file meanwhile.

#include "WhichProcess.h"

#include <sys/resource.h>

#ifdef __SANITIZE_ADDRESS__
#define UNDER_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ADDRESS_SANITIZER
#endif
#endif

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
    // Those that dump core are seen by their status alone.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    for (const int ending : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM,
                             SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGRTMIN}) {
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

TEST_F(Which, AnEndlessQueryIsAUsageErrorReadNoFurther)
{
    // Under a memory limit an input read whole would end the program at once; sanitizers
    // reserve more address space than any such limit leaves.
#ifndef UNDER_ADDRESS_SANITIZER
    rlimit before{};
    getrlimit(RLIMIT_AS, &before);
    const rlimit limited{std::size_t{1} << 30, before.rlim_max};
    setrlimit(RLIMIT_AS, &limited);
#endif
    const Outcome endless = run({"--from", "/dev/zero"});
#ifndef UNDER_ADDRESS_SANITIZER
    setrlimit(RLIMIT_AS, &before);
#endif
    EXPECT_EQ(endless.status, 2);
    EXPECT_EQ(endless.out, "");
    EXPECT_NE(endless.err.find("cannot read /dev/zero: a query is longer than 65536 bytes"),
              std::string::npos)
        << endless.err;
}
