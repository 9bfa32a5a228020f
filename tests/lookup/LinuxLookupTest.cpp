// The lookup with the real backend, in a freedesktop environment of its own, so it answers the
// same on any machine.

#include "FreedesktopEnvironment.h"
#include "TempTree.h"
#include "lookup/ExecCmd.h"
#include "lookup/FindExe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <tuple>

namespace {

// vlc's entry with a name in Arabic and an icon by its theme's name; the player's icon a file.
const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new FreedesktopEnvironment([](TempTree& tree) {
        tree.write("data/applications/vlc.desktop",
                   "[Desktop Entry]\nType=Application\nName=vlc\nName[ar]=مشغّل الوسائط\n"
                   "Icon=vlc\nExec=vlc %U\nMimeType=audio/mpeg;\n");
        const std::string player = TempTree::read(tree / "data/applications/player.desktop");
        tree.write("data/applications/player.desktop",
                   player + "Icon=" + (tree / "icons/player.png").string() + "\n");
    }));

// Starts `commandLine` as the run button does; returns what the started program wrote down:
// its path and arguments, a line each.
std::string started(const std::string& commandLine)
{
    std::filesystem::remove(desktop->trace);
    qimlar::ExecCmd(commandLine, qimlar::nativePlatform());
    return TempTree::read(desktop->trace);
}

// The lines a program started by `commandLine` writes, for words that hold no quotes.
std::string lines(const std::string& commandLine)
{
    return std::regex_replace(commandLine, std::regex(" "), "\n") + "\n";
}

} // namespace

TEST(LinuxLookup, FindsTheDefaultProgramAndLeavesNoProbe)
{
    const auto programs = TempTree::names(*tree / "bin");
    const std::string& player = desktop->player;
    const std::string& spaced = desktop->spacedPlayer;
    EXPECT_EQ(findExe("mp3"), player);
    EXPECT_EQ(findExe("MP3"), player);
    EXPECT_EQ(findExe(".mp3"), player);
    EXPECT_EQ(findExe("ogg"), spaced);
    EXPECT_EQ(findExe("orphan"), "");
    EXPECT_EQ(findExe("qimlar-unknown"), "");
    EXPECT_EQ(findExe(""), "");
    EXPECT_EQ(findExe("../mp3"), "");
    EXPECT_TRUE(TempTree::names(desktop->tempFolder).empty());
    EXPECT_EQ(TempTree::names(*tree / "bin"), programs);
}

TEST(LinuxLookup, SaysWhatItFoundAndWhy)
{
    const std::string mimeapps = *tree / "config/mimeapps.list";
    const auto plain = lookUp("mp3");
    EXPECT_EQ(plain.command, "player");
    EXPECT_EQ(plain.decidedBy, mimeapps);
    EXPECT_FALSE(plain.terminal);
    EXPECT_EQ(lookUp("child").decidedBy,
              mimeapps + " (for the parent type application/x-qimlar-parent)");

    const auto orphan = lookUp("orphan");
    EXPECT_EQ(orphan.status, qimlar::LookupStatus::NoProgram);
    EXPECT_NE(orphan.reason.find("application/x-qimlar-orphan"), std::string::npos);
    const auto unknown = lookUp("qimlar-unknown");
    EXPECT_EQ(unknown.status, qimlar::LookupStatus::UnknownType);
    EXPECT_FALSE(unknown.reason.empty());
}

TEST(LinuxLookup, AnswersTheProgramBehindEveryWrapperAndTheRunButtonStartsIt)
{
    for (const auto& kind : desktop->wrapped) {
        SCOPED_TRACE(kind.extension);
        const auto result = lookUp(kind.extension);
        EXPECT_EQ(result.status, qimlar::LookupStatus::Found) << result.reason;
        EXPECT_EQ(result.program, kind.program);
        EXPECT_EQ(result.command, kind.command);
        EXPECT_EQ(result.type, "application/x-qimlar-" + kind.extension);
        EXPECT_EQ(result.entry, kind.entry);
        EXPECT_EQ(result.decidedBy, kind.decidedBy);
        EXPECT_EQ(result.terminal, kind.terminal);
        // The program itself, or the wrapper with the words that name the application.
        EXPECT_EQ(started(result.program), lines(kind.program));
    }
}

// The lookup in a child where XDG_CURRENT_DESKTOP names KDE first; exits 0 when KDE's own
// list decided.
void lookUpOnKde()
{
    setenv("XDG_CURRENT_DESKTOP", "KDE:GNOME", 1);
    const auto result = lookUp("desk");
    const std::string list = *tree / "config/kde-mimeapps.list";
    const bool won = result.program == *tree / "bin/tui" && result.decidedBy == list;
    if (!won)
        std::fprintf(stderr, "%s decided by %s\n", result.program.c_str(),
                     result.decidedBy.c_str());
    // The child's tree lies in the parent's temporary folder: it goes before the child ends.
    std::filesystem::remove_all(tree->root());
    std::_Exit(won ? 0 : 1);
}

TEST(LinuxLookup, TheCurrentDesktopsOwnListWinsOverMimeappsList)
{
    // The child starts this program afresh: GIO there has read nothing yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(lookUpOnKde(), ::testing::ExitedWithCode(0), "");
    const auto elsewhere = lookUp("desk");
    EXPECT_EQ(elsewhere.program, desktop->player);
    EXPECT_EQ(elsewhere.decidedBy, *tree / "config/mimeapps.list");
}

TEST(LinuxLookup, ATerminalProgramStartsInTheUsersTerminalOrNotAtAll)
{
    auto& platform = qimlar::nativePlatform();
    const std::string program = lookUp("term").program;
    const std::string commandLine = lookUp("flatbare").program;
    const std::string path = std::getenv("PATH");
    const auto terminals = *tree / "terminals";
    setenv("PATH", (terminals.string() + ":" + path).c_str(), 1);

    // Each in turn, the ones before it missing.
    const std::pair<std::string, std::string> kinds[] = {
        {"x-terminal-emulator", "-e\n"}, {"xdg-terminal-exec", ""}, {"xterm", "-e\n"}};
    for (const auto& [name, option] : kinds) {
        const auto terminal = tree->write("terminals/" + name, TempTree::read(program), true);
        for (const std::string& answer : {program, desktop->spacedPlayer}) {
            const auto inTerminal = platform.terminalCommandLine(answer);
            ASSERT_TRUE(inTerminal) << inTerminal.reason();
            EXPECT_EQ(started(*inTerminal), terminal.string() + "\n" + option + answer + "\n");
        }
        // A command line keeps its words.
        EXPECT_EQ(started(*platform.terminalCommandLine(commandLine)),
                  terminal.string() + "\n" + option + lines(commandLine));
        std::filesystem::remove(terminal);
    }

    const auto none = platform.terminalCommandLine(program);
    EXPECT_FALSE(none);
    EXPECT_NE(none.reason().find("no terminal emulator"), std::string::npos);
    setenv("PATH", path.c_str(), 1);
}

// A program choice as one comparable row.
using Choice = std::tuple<std::string, std::string, std::string, qimlar::ProgramRelation>;
std::vector<Choice> rows(const std::vector<qimlar::ProgramChoice>& choices)
{
    std::vector<Choice> result;
    for (const auto& choice : choices)
        result.emplace_back(choice.program, choice.command, choice.entry, choice.relation);
    return result;
}

TEST(LinuxLookup, EveryProgramComesInTheDesktopsOrderAndAskingByTypeAnswersAlike)
{
    using enum qimlar::ProgramRelation;
    auto& platform = qimlar::nativePlatform();
    const qimlar::LookupDetail every{.everyProgram = true};
    const std::string bin = *tree / "bin/", apps = *tree / "data/applications/";
    const Choice player{bin + "player", "player", apps + "player.desktop", Default};
    const Choice viewer{bin + "viewer", "viewer", apps + "viewer.desktop", ParentType};

    // The default once, though mimeinfo.cache registers it too.
    const auto mp3 = qimlar::LookUpProgram("mp3", platform, every);
    EXPECT_EQ(rows(mp3.programs),
              (std::vector<Choice>{
                  player, {bin + "vlc", "vlc", apps + "vlc.desktop", Registered}, viewer}));
    // The default through the parent type; nothing registered for the type itself.
    EXPECT_EQ(rows(qimlar::LookUpProgram("child", platform, every).programs),
              (std::vector<Choice>{player, viewer}));
    EXPECT_TRUE(qimlar::LookUpProgram("orphan", platform, every).programs.empty());
    EXPECT_TRUE(lookUp("mp3").programs.empty());

    const auto byType = qimlar::LookUpType("audio/mpeg", platform, every);
    EXPECT_EQ(std::tie(byType.status, byType.program, byType.command, byType.entry,
                       byType.decidedBy, byType.type),
              std::tie(mp3.status, mp3.program, mp3.command, mp3.entry, mp3.decidedBy, mp3.type));
    EXPECT_EQ(rows(byType.programs), rows(mp3.programs));
    // A type no database knows is no type that nothing opens.
    const auto misspelt = qimlar::LookUpType("audio/mpge", platform, every);
    EXPECT_EQ(misspelt.status, qimlar::LookupStatus::UnknownType);
    // The databases' lists are read again once they change: a type added is known at once.
    const std::string types = TempTree::read(*tree / "data/mime/types");
    tree->write("data/mime/types", types + "audio/mpge\n");
    EXPECT_EQ(qimlar::LookUpType("audio/mpge", platform).status, qimlar::LookupStatus::NoProgram);
    tree->write("data/mime/types", types);
    EXPECT_EQ(qimlar::LookUpType("application/x-qimlar-orphan", platform).status,
              qimlar::LookupStatus::NoProgram);
}

TEST(LinuxLookup, EachProgramCarriesTheNameIconAndTerminalItsEntryGives)
{
    const qimlar::LookupDetail every{.everyProgram = true};
    auto& platform = qimlar::nativePlatform();
    const auto names = [&] {
        std::vector<std::string> found;
        for (const auto& choice : qimlar::LookUpProgram("mp3", platform, every).programs)
            found.push_back(choice.name);
        return found;
    };
    // The name in the user's language where the entry has one, else its plain Name.
    setenv("LANGUAGE", "ar", 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"player", "مشغّل الوسائط", "viewer"}));
    setenv("LANGUAGE", "fr:en", 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"player", "vlc", "viewer"}));
    unsetenv("LANGUAGE");

    const auto mp3 = qimlar::LookUpProgram("mp3", platform, every).programs;
    ASSERT_EQ(mp3.size(), 3u);
    EXPECT_EQ(mp3[0].icon, (*tree / "icons/player.png").string());
    EXPECT_EQ(mp3[1].icon, "vlc");
    EXPECT_EQ(mp3[2].icon, "");
    EXPECT_FALSE(mp3[0].terminal);
    const auto term = qimlar::LookUpProgram("term", platform, every).programs;
    ASSERT_FALSE(term.empty());
    EXPECT_TRUE(term[0].terminal);
}

// Whether `wanted` are among `sentences` in this order; says which is missing.
::testing::AssertionResult inOrder(const std::vector<std::string>& sentences,
                                   const std::vector<std::string>& wanted)
{
    auto at = sentences.begin();
    for (const std::string& sentence : wanted) {
        at = std::find(at, sentences.end(), sentence);
        if (at == sentences.end())
            return ::testing::AssertionFailure() << "no \"" << sentence << "\" in its place";
    }
    return ::testing::AssertionSuccess();
}

TEST(LinuxLookup, TheExplanationNamesTheGlobTheDecidingLineTheEntryAndTheProgram)
{
    auto& platform = qimlar::nativePlatform();
    const qimlar::LookupDetail why{.explanation = true};
    const std::string root = tree->root(), globs = root + "/data/mime/globs2";
    const std::string glob = "The name matches the glob *.mp3 (weight 50) in " + globs +
                             ", which gives the type audio/mpeg.";
    const std::vector<std::string> decision{
        "`audio/mpeg=player.desktop` in [Default Applications] of " + root +
            "/config/mimeapps.list names player.desktop: this line decides.",
        "The desktop entry chosen is " + root + "/data/applications/player.desktop.",
        "The program player is found on PATH at " + desktop->player + ".",
        "The answer is " + desktop->player + "."};
    for (const std::string extension : {"mp3", "MP3"}) {
        auto wanted = decision;
        wanted.insert(wanted.begin(), glob);
        EXPECT_TRUE(inOrder(qimlar::LookUpProgram(extension, platform, why).explanation, wanted))
            << extension;
    }
    auto byType = decision;
    byType.insert(byType.begin(), "The lookup was given the type audio/mpeg.");
    EXPECT_TRUE(inOrder(qimlar::LookUpType("audio/mpeg", platform, why).explanation, byType));
    EXPECT_TRUE(lookUp("mp3").explanation.empty());

    const auto unknown = qimlar::LookUpProgram("qimlar-unknown", platform, why).explanation;
    ASSERT_GE(unknown.size(), 2u);
    EXPECT_TRUE(unknown[1].starts_with("No glob matches the name ")) << unknown[1];
    EXPECT_NE(unknown[1].find(" in " + globs + ", so its type is"), std::string::npos);
    EXPECT_TRUE(inOrder(qimlar::LookUpProgram("orphan", platform, why).explanation,
                        {"`application/x-qimlar-orphan=gone.desktop;` in [MIME Cache] of " + root +
                         "/data/applications/mimeinfo.cache names no entry that is "
                         "installed."}));

    // How the wrappers' Exec lines became the answer.
    const std::pair<std::string, std::string> wrappers[] = {
        {"snapenv", "The words `env BAMF_DESKTOP_FILE_HINT="},
        {"flatsys", "It starts the Flatpak application org.example.System, whose installation "
                    "exports the launcher "},
        {"flatbare", "It starts the Flatpak application org.example.Bare, and no launcher"}};
    for (const auto& wrapper : wrappers) {
        const auto steps = qimlar::LookUpProgram(wrapper.first, platform, why).explanation;
        EXPECT_TRUE(std::any_of(steps.begin(), steps.end(), [&](const std::string& step) {
            return step.starts_with(wrapper.second);
        })) << wrapper.first;
    }
}
