// qimlar-which's plain answers, its command line and exit statuses, and bash's completion of it.

#include "JsonReader.h"
#include "WhichProcess.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <cstdio>
#include <sys/stat.h>

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
    for (const char* option : {"--version", "--help"}) {
        const Outcome unwritten = run({option}, "/dev/full");
        EXPECT_EQ(unwritten.status, 2);
        EXPECT_NE(unwritten.err.find(": No space left on device\n"), std::string::npos)
            << option << ": " << unwritten.err;
    }
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
    // Desktop ids, a subfolder's named with a dash; bash splits --set-default=ID at the "=".
    tree->write("completion/applications/kde/okular.desktop", "");
    tree->write("completion/applications/mpv.desktop", "");
    EXPECT_EQ(bashCompletion(*tree, "qimlar-which --set-default k"), "kde-okular.desktop\n");
    EXPECT_EQ(bashCompletion(*tree, "qimlar-which mp3 --set-default = m"), "mpv.desktop\n");
}

// Files that somebody else may have put where the desktop keeps its own.
TEST_F(Which, ANamedPipeWhereTheDesktopReadsIsTroubleNamedAtOnce)
{
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
    for (const std::string file :
         {"config/mimeapps.list", "config/kde-mimeapps.list", "data/applications/mimeinfo.cache",
          "data/applications/player.desktop"}) {
        const auto path = *tree / file;
        const std::string text = TempTree::read(path);
        std::filesystem::remove(path);
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        const Outcome blocked = run({"mp3"});
        const Outcome byType = run({"--mime", "audio/mpeg"});
        std::filesystem::remove(path);
        tree->write(file, text);
        for (const Outcome& outcome : {blocked, byType}) {
            EXPECT_EQ(outcome.status, 2) << file;
            EXPECT_EQ(outcome.out, "\n") << file;
            EXPECT_NE(outcome.err.find("cannot read " + path.string() + ": not a regular file"),
                      std::string::npos)
                << outcome.err;
        }
    }
    unsetenv("XDG_CURRENT_DESKTOP");
    // One that no list names is never opened.
    const auto unnamed = *tree / "data/applications/unnamed.desktop";
    ASSERT_EQ(mkfifo(unnamed.c_str(), 0600), 0);
    EXPECT_EQ(run({"mp3"}).out, desktop->player + "\n");
    EXPECT_EQ(run({"--mime", "x-qimlar/nobody"}).status, 1);
    // Beside it, one that a list names still is.
    const auto player = *tree / "data/applications/player.desktop";
    const std::string entry = TempTree::read(player);
    std::filesystem::remove(player);
    ASSERT_EQ(mkfifo(player.c_str(), 0600), 0);
    EXPECT_EQ(run({"mp3"}).err,
              "qimlar-which: cannot read " + player.string() + ": not a regular file\n");
    std::filesystem::remove(player);
    tree->write("data/applications/player.desktop", entry);
    std::filesystem::remove(unnamed);
    EXPECT_TRUE(TempTree::names(desktop->tempFolder).empty());
}

TEST_F(Which, ATypeThatOnlyDesktopEntriesOrListsNameIsKnown)
{
    // A browser registered for links as update-desktop-database registers it; a type the
    // user's list alone names; one that an entry's MimeType line alone names.
    const std::string cache = TempTree::read(*tree / "data/applications/mimeinfo.cache");
    const std::string list = TempTree::read(*tree / "config/mimeapps.list");
    tree->write("data/applications/browser.desktop",
                "[Desktop Entry]\nType=Application\nName=browser\nExec=player %u\n"
                "MimeType=x-scheme-handler/https;x-scheme-handler/mailto;\n");
    tree->write("data/applications/mimeinfo.cache",
                cache + "x-scheme-handler/https=browser.desktop;\n");
    tree->write("config/mimeapps.list", list + "x-scheme-handler/qimlar=player.desktop\n");
    const Outcome found = run({"--mime", "x-scheme-handler/https", "x-scheme-handler/qimlar"});
    const Outcome json =
        run({"--json", "--mime", "x-scheme-handler/mailto", "x-scheme-handler/no"});
    std::filesystem::remove(*tree / "data/applications/browser.desktop");
    tree->write("data/applications/mimeinfo.cache", cache);
    tree->write("config/mimeapps.list", list);

    EXPECT_EQ(found.out, desktop->player + "\n" + desktop->player + "\n");
    EXPECT_EQ(found.status, 0) << found.err;
    const auto mailto = json.out.find("\"status\": \"no-program\"");
    EXPECT_NE(mailto, std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"status\": \"unknown-type\"", mailto), std::string::npos) << json.out;
}
