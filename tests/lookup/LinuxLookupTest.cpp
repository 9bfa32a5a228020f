// The lookup with the real backend, in a freedesktop environment of its own, so it answers the
// same on any machine.

#include "Freedesktop.h"
#include "NativePlatform.h"
#include "ProbeName.h"
#include "TempTree.h"
#include "lookup/ExecCmd.h"
#include "lookup/FindExe.h"
#include "xdg/DesktopCommand.h"
#include "xdg/FieldCodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <functional>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <regex>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <tuple>

namespace {

TempTree* tree = nullptr;
Freedesktop* desktop = nullptr;

std::filesystem::path tempFolder()
{
    return desktop->tempFolder;
}

// GIO reads the environment once, at its first use: every test shares this one.
class FreedesktopEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        tree = new TempTree;
        desktop = new Freedesktop(*tree);
    }
    void TearDown() override
    {
        delete desktop;
        delete tree;
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new FreedesktopEnvironment);

std::string findExe(const std::string& extension)
{
    return qimlar::FindExe(extension, qimlar::nativePlatform());
}

qimlar::LookupResult lookUp(const std::string& extension)
{
    return qimlar::LookUpProgram(extension, qimlar::nativePlatform());
}

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
    EXPECT_TRUE(TempTree::names(tempFolder()).empty());
    EXPECT_EQ(TempTree::names(*tree / "bin"), programs);
}

// Stands something of somebody else's at the probe name "mp3" takes, between creating the probe
// and renaming it.
class PlantingPlatform : public qimlar::NativePlatform
{
public:
    std::function<void(const std::filesystem::path&)> plant;
    std::filesystem::path planted;
    std::map<std::string, std::string> beforeTheLookup;

    qimlar::Outcome<std::string> createUniqueFile(const std::string& folder,
                                                  const std::string& prefix) override
    {
        auto created = NativePlatform::createUniqueFile(folder, prefix);
        planted = qimlar::probeName(*created, "mp3");
        plant(planted);
        beforeTheLookup = TempTree::snapshot(tree->root());
        beforeTheLookup.erase(*created);
        return created;
    }
};

TEST(LinuxLookupFaults, WhateverStandsAtTheProbeNameIsLeftAsItWas)
{
    const auto victim = tree->write("victim", "somebody's data");
    const std::function<void(const std::filesystem::path&)> plants[] = {
        [](const auto& at) { tree->write(at.lexically_relative(tree->root()), "theirs"); },
        [&](const auto& at) { std::filesystem::create_symlink(victim, at); },
        [](const auto& at) { std::filesystem::create_symlink(*tree / "not-yet", at); },
        [](const auto& at) { std::filesystem::create_directory(at); },
    };
    for (const auto& plant : plants) {
        PlantingPlatform platform;
        platform.plant = plant;
        EXPECT_EQ(qimlar::FindExe("mp3", platform), "");
        EXPECT_EQ(TempTree::snapshot(tree->root()), platform.beforeTheLookup);
        std::filesystem::remove(platform.planted);
    }
    std::filesystem::remove(victim);
}

// A NUL ends the extension for every C function: "mp3\0" would reach the file system as "mp3".
class RenameCountingPlatform : public PlantingPlatform
{
public:
    int renames = 0;

    qimlar::Status renameNoReplace(const std::string& from, const std::string& to) override
    {
        ++renames;
        return NativePlatform::renameNoReplace(from, to);
    }
};

TEST(LinuxLookupFaults, AnExtensionHoldingANulFindsNothingAndRenamesNothing)
{
    using namespace std::string_literals;
    for (const std::string& extension : {"mp3\0"s, "\0mp3"s, "mp3\0.ogg"s, "\0"s}) {
        RenameCountingPlatform platform;
        // Somebody's file at the name the probe would take were the extension cut at the NUL.
        platform.plant = [](const auto& at) {
            tree->write(at.lexically_relative(tree->root()), "theirs");
        };
        const qimlar::LookupResult result = qimlar::LookUpProgram(extension, platform);
        EXPECT_NE(result.status, qimlar::LookupStatus::Found) << result.program;
        EXPECT_EQ(result.program, "");
        EXPECT_EQ(platform.renames, 0);
        EXPECT_EQ(TempTree::snapshot(tree->root()), platform.beforeTheLookup);
        std::filesystem::remove(platform.planted);
    }
    EXPECT_TRUE(TempTree::names(tempFolder()).empty());
}

// Points TMPDIR elsewhere for one test.
class TemporaryFolderSetTo
{
public:
    explicit TemporaryFolderSetTo(const std::string& folder)
    {
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderSetTo() { setenv("TMPDIR", tempFolder().c_str(), 1); }
};

TEST(LinuxLookupFaults, ATemporaryFolderThatCannotHoldTheProbeFindsNothingAndTouchesNothing)
{
    const auto readOnly = *tree / "read-only";
    std::filesystem::create_directory(readOnly);
    std::filesystem::permissions(readOnly, std::filesystem::perms(0555));
    std::string overlong = tempFolder();
    while (overlong.size() <= PATH_MAX)
        overlong += "/deeper";
    const auto before = TempTree::snapshot(tree->root());

    // Root may write in a read-only folder; nobody may create a file in /proc.
    std::vector<std::string> folders{(*tree / "missing").string(), "/proc", desktop->player,
                                     overlong};
    if (access(readOnly.c_str(), W_OK) != 0)
        folders.push_back(readOnly);
    for (const std::string& folder : folders) {
        TemporaryFolderSetTo set(folder);
        EXPECT_EQ(findExe("mp3"), "") << folder;
    }
    EXPECT_EQ(TempTree::snapshot(tree->root()), before);
    std::filesystem::remove(readOnly);
}

TEST(LinuxLookupFaults, AnExtensionTooLongForAFileNameFindsNothingAndLeavesNothing)
{
    EXPECT_EQ(findExe(std::string(NAME_MAX, 'x')), "");
    EXPECT_EQ(findExe(std::string(PATH_MAX + 1, 'x')), "");
    EXPECT_TRUE(TempTree::names(tempFolder()).empty());
}

// A file system that can neither rename without replacing nor link.
class NoSafeRenamePlatform : public qimlar::NativePlatform
{
public:
    qimlar::Status renameNoReplace(const std::string&, const std::string&) override
    {
        return qimlar::Failure{"no safe rename"};
    }
};

TEST(LinuxLookupFaults, AFolderThatCannotRenameSafelyFindsNothingAndLeavesNothing)
{
    NoSafeRenamePlatform platform;
    EXPECT_EQ(qimlar::FindExe("mp3", platform), "");
    EXPECT_TRUE(TempTree::names(tempFolder()).empty());
}

// In this process from now on, the system calls `refused` fail with `error`, as they do on a
// file system that lacks them. For a death test's child only.
void refuseSystemCalls(std::initializer_list<long> refused, int error)
{
    std::vector<sock_filter> filter{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (const long call : refused) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(call), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (error & SECCOMP_RET_DATA)));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
        std::_Exit(3);
}

// The lookup in a child whose file system lacks the calls `refused`; exits 0 with `expected`.
void lookUpWithout(std::initializer_list<long> refused, int error, const std::string& expected)
{
    refuseSystemCalls(refused, error);
    const bool answered = findExe("mp3") == expected;
    const bool nothingLeft = TempTree::names(tempFolder()).empty();
    std::_Exit(answered && nothingLeft ? 0 : 1);
}

TEST(LinuxLookupFaults, WithoutTheNoReplaceRenameAHardLinkStandsInOrNothingIsFound)
{
    // The child starts this program afresh, so that GIO there begins with no threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(lookUpWithout({__NR_renameat2}, EINVAL, desktop->player),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(lookUpWithout({__NR_renameat2, __NR_link, __NR_linkat}, EINVAL, ""),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(lookUpWithout({__NR_renameat2}, ENOSYS, desktop->player),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(lookUpWithout({__NR_renameat2, __NR_link, __NR_linkat}, EPERM, ""),
                ::testing::ExitedWithCode(0), "");
}

TEST(LinuxLookup, ProbeFilesAreNewPrivateAndUnguessable)
{
    qimlar::NativePlatform platform;
    const auto folder = platform.tempFolder();
    ASSERT_EQ(*folder, tempFolder().string() + "/");
    const auto first = platform.createUniqueFile(*folder, "~");
    const auto second = platform.createUniqueFile(*folder, "~");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    const std::regex shape(std::regex_replace(*folder, std::regex("[.+]"), "\\$&") +
                           "~[a-z2-7]{16}\\.tmp");
    EXPECT_TRUE(std::regex_match(*first, shape)) << *first;

    struct stat info
    {};
    ASSERT_EQ(stat(first->c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    EXPECT_FALSE(platform.renameNoReplace(*first, *second));
    EXPECT_TRUE(std::filesystem::exists(*first));
    EXPECT_TRUE(platform.deleteFile(*first));
    EXPECT_TRUE(platform.deleteFile(*second));
    EXPECT_FALSE(platform.createUniqueFile(tempFolder().string() + "/missing/", "~"));
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

TEST(DesktopCommand, FieldCodesAndWrappersGiveWayToTheProgram)
{
    using qimlar::xdg::findProgram;
    using qimlar::xdg::withoutFieldCodes;
    EXPECT_EQ(withoutFieldCodes("app  --name=%c %i -x '%f' \"a  b\" 100%% %U"),
              "app  --name= -x '' \"a  b\" 100%");
    EXPECT_EQ(withoutFieldCodes("flatpak run --file-forwarding a.b.C @@u %U @@ "),
              "flatpak run --file-forwarding a.b.C");

    const std::string bin = *tree / "bin";
    const std::string entry = *tree / "data/applications/any.desktop";
    const auto program = [&](const std::string& exec, const std::string& flatpak = "",
                             const std::string& file = "") {
        const auto found =
            findProgram({file.empty() ? entry : file, exec, flatpak}, *tree / "snap-bin").program;
        return found ? *found : "failed: " + found.reason();
    };
    EXPECT_EQ(program("env -S 'viewer --x' %f"), bin + "/viewer");
    EXPECT_EQ(program("env -C /tmp -uLANG env A=1 viewer"), bin + "/viewer");
    EXPECT_EQ(program("env -iu LANG A=1 %f"),
              "failed: the Exec line of " + entry + " runs env with no program");
    EXPECT_EQ(program("env missing-viewer %f"),
              "failed: the program missing-viewer of " + entry + " is not installed");

    // A snap's command in the snap folder, where there is one.
    tree->write("snap-bin/hello", "#!/bin/sh\n", true);
    EXPECT_EQ(program("snap run --command=x hello %U"), (*tree / "snap-bin/hello").string());
    EXPECT_EQ(program("snap run ../bin/viewer"), "snap run ../bin/viewer");

    // A Flatpak application ID never leads out of the installation's launcher folder.
    const std::string exported = *tree / "system-flatpak/exports/share/applications/x.desktop";
    EXPECT_EQ(program("flatpak run org.example.System", "", exported),
              (*tree / "system-flatpak/exports/bin/org.example.System").string());
    EXPECT_EQ(program("flatpak run x", "../bin/org.example.System", exported), "flatpak run x");
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
