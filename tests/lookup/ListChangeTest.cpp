// Changing the user's lists on disk: the lock that Qt's writers share, the atomic replace that
// follows links, the record and its undo, and many processes at once.

#include "xdg/ListChange.h"

#include "TempTree.h"
#include "xdg/AtomicFile.h"
#include "xdg/ChangeRecord.h"
#include "xdg/ListLock.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qimlar::xdg;
using namespace std::chrono_literals;

namespace {

const std::string listText = "# mine\n[Default Applications]\naudio/mpeg=vlc.desktop;\n"
                             "[Removed Associations]\naudio/mpeg=mpv.desktop;\n";

struct Lists
{
    TempTree tree;
    std::string list = tree.write("config/mimeapps.list", listText);
    ChangeOptions options{false, tree / "state/qimlar", 2s};

    ChangeReport change(const std::string& type = "audio/mpeg",
                        const std::string& app = "mpv.desktop")
    {
        return makeDefault({{list, ListKind::Associations}}, {type, app}, options);
    }
    std::set<std::string> records() const
    {
        return std::filesystem::exists(tree / "state/qimlar")
                   ? TempTree::names(tree / "state/qimlar")
                   : std::set<std::string>{};
    }
};

// Runs `body` in a child process, its exit status the answer.
int inChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

pid_t deadProcess()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST(ListLock, WritesWhatQLockFileWrites)
{
    TempTree tree;
    ListLock lock(tree / "m.lock");
    ASSERT_TRUE(lock.take(0ms));
    std::ifstream in(tree / "m.lock");
    std::string pid, program, host, machine, boot;
    std::getline(in, pid), std::getline(in, program), std::getline(in, host);
    std::getline(in, machine), std::getline(in, boot);
    EXPECT_EQ(pid, std::to_string(getpid()));
    EXPECT_EQ(program, "xdg_list_change_test");
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    EXPECT_EQ(host, name);
    EXPECT_EQ(machine.size(), 32u);
    std::string realBoot;
    std::getline(std::ifstream("/proc/sys/kernel/random/boot_id"), realBoot);
    EXPECT_EQ(boot, realBoot);
    EXPECT_EQ(TempTree::read(tree / "m.lock"), ListLock::contents());
}

TEST(ListLock, WaitsForALiveHolderAndTakesAStaleOne)
{
    TempTree tree;
    const std::string path = tree / "m.lock";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        ListLock lock(path);
        const bool taken = bool(lock.take(0ms));
        (void)!write(ready[1], &taken, 1);
        pause();
        _exit(0);
    }
    bool taken = false;
    ASSERT_EQ(read(ready[0], &taken, 1), 1);
    ASSERT_TRUE(taken);
    ListLock waiting(path);
    const auto start = std::chrono::steady_clock::now();
    const auto failed = waiting.take(300ms);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_TRUE(waiting.wasBusy());
    EXPECT_NE(failed.reason().find("cannot lock " + path + ": held by process " +
                                   std::to_string(holder) +
                                   " (xdg_list_change_test) for 0 seconds"),
              std::string::npos)
        << failed.reason();
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);

    // The holder is gone, though its lock stayed; or the process id went to another program.
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string ours = ListLock::contents();
    for (const std::string& stale :
         {std::to_string(holder) + ours.substr(ours.find('\n')),
          std::to_string(deadProcess()) + "\nkate\n", std::to_string(getppid()) + "\nkate\n\n\n\n",
          std::to_string(getpid()) + "\nxdg_list_change_test\n" + host + "\n\nnot-this-boot\n"}) {
        std::ofstream(path) << stale;
        ListLock lock(path);
        EXPECT_TRUE(lock.take(0ms)) << stale;
    }
    EXPECT_EQ(TempTree::names(tree.root()), std::set<std::string>{});
}

TEST(ListChange, KeepsTheLinkAndTheModeAndLeavesNothingBehind)
{
    Lists lists;
    const auto target = lists.tree.write("dotfiles/mimeapps.list", listText);
    std::filesystem::remove(lists.list);
    std::filesystem::create_symlink("../dotfiles/mimeapps.list", lists.list);
    chmod(target.c_str(), 0604);
    const ChangeReport report = lists.change();
    ASSERT_EQ(report.status, ChangeStatus::Done) << report.text;
    EXPECT_TRUE(std::filesystem::is_symlink(lists.list));
    EXPECT_EQ(TempTree::read(target),
              "# mine\n[Default Applications]\n"
              "audio/mpeg=mpv.desktop;vlc.desktop;\n[Removed Associations]\n"
              "\n[Added Associations]\naudio/mpeg=mpv.desktop;\n");
    struct stat status
    {};
    stat(target.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_EQ(TempTree::names(lists.tree / "dotfiles"), std::set<std::string>{"mimeapps.list"});
    EXPECT_EQ(TempTree::names(lists.tree / "config"), std::set<std::string>{"mimeapps.list"});
}

TEST(ListChange, DryRunShowsTheDiffAndWritesNothing)
{
    Lists lists;
    lists.options.dryRun = true;
    const ChangeReport report = lists.change();
    EXPECT_EQ(report.text, "--- " + lists.list + "\n+++ " + lists.list +
                               "\n@@ -1,5 +1,7 @@\n # mine\n [Default Applications]\n"
                               "-audio/mpeg=vlc.desktop;\n+audio/mpeg=mpv.desktop;vlc.desktop;\n"
                               " [Removed Associations]\n+\n+[Added Associations]\n"
                               " audio/mpeg=mpv.desktop;\n");
    EXPECT_EQ(TempTree::read(lists.list), listText);
    EXPECT_TRUE(lists.records().empty());
}

TEST(ListChange, RefusesWhatGLibCannotReadOrCannotBeWritten)
{
    Lists lists;
    lists.tree.write("config/mimeapps.list", "audio/mpeg=vlc.desktop;\n");
    ChangeReport report = lists.change();
    EXPECT_EQ(report.status, ChangeStatus::Refused);
    EXPECT_NE(report.text.find("Key file does not start with a group"), std::string::npos);
    EXPECT_EQ(TempTree::read(lists.list), "audio/mpeg=vlc.desktop;\n");
    EXPECT_TRUE(lists.records().empty());

    // A read-only file system, which stops root too, mounted in a namespace of the child's own.
    const std::string readOnly = lists.tree / "readonly";
    lists.tree.write("readonly/mimeapps.list", listText);
    std::filesystem::remove(lists.list);
    std::filesystem::create_symlink(readOnly + "/mimeapps.list", lists.list);
    const int answer = inChild([&] {
        if (unshare(getuid() == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount(readOnly.c_str(), readOnly.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            mount(nullptr, readOnly.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) !=
                0)
            return 77;
        const ChangeReport report = lists.change();
        const std::string why = ": Read-only file system";
        return report.status == ChangeStatus::Refused &&
                       report.text == "cannot lock " + readOnly + "/mimeapps.list.lock" + why &&
                       replaceFile(lists.list, "").reason() ==
                           "cannot write " + readOnly + "/mimeapps.list" + why
                   ? 0
                   : 1;
    });
    if (answer == 77)
        GTEST_SKIP() << "no private mount namespace here for a read-only file system";
    EXPECT_EQ(answer, 0);
}

TEST(ListChange, UndoRestoresTheBytesOrOnlyItsKeysOrRefuses)
{
    Lists lists;
    const std::string desktopList = lists.tree / "config/kde-mimeapps.list";
    const auto both = [&] {
        return makeDefault(
            {{desktopList, ListKind::DefaultsOnly}, {lists.list, ListKind::Associations}},
            {"audio/mpeg", "mpv.desktop"}, lists.options);
    };
    ASSERT_EQ(both().status, ChangeStatus::Done);
    const std::string afterFirst = TempTree::read(lists.list);
    ASSERT_EQ(lists.change("text/plain", "kate.desktop").status, ChangeStatus::Done);
    EXPECT_EQ(lists.records(), (std::set<std::string>{"00000001.change", "00000002.change"}));

    // Someone else's key since: it stays, the change's own keys go back.
    std::ofstream(lists.list, std::ios::app) << "image/png=gimp.desktop;\n";
    ChangeReport undone = undoLastChange(lists.options);
    ASSERT_EQ(undone.status, ChangeStatus::Done) << undone.text;
    EXPECT_NE(undone.text.find("[Default Applications] text/plain: “kate.desktop;” → nothing"),
              std::string::npos)
        << undone.text;
    EXPECT_EQ(TempTree::read(lists.list), afterFirst + "image/png=gimp.desktop;\n");

    // A key of the change changed since: refused, named, nothing written.
    const std::string edited = TempTree::read(lists.list);
    lists.tree.write("config/mimeapps.list",
                     std::string(edited).replace(edited.find("mpv.desktop;vlc"), 3, "totem"));
    undone = undoLastChange(lists.options);
    EXPECT_EQ(undone.status, ChangeStatus::Refused);
    EXPECT_NE(
        undone.text.find("[Default Applications] audio/mpeg in " + lists.list + " was changed"),
        std::string::npos)
        << undone.text;

    lists.tree.write("config/mimeapps.list", edited);
    ASSERT_EQ(undoLastChange(lists.options).status, ChangeStatus::Done);
    EXPECT_EQ(TempTree::read(lists.list),
              listText + "\n[Added Associations]\nimage/png=gimp.desktop;\n");
    EXPECT_FALSE(std::filesystem::exists(desktopList)); // it made that list, and took it away
    EXPECT_EQ(undoLastChange(lists.options).status, ChangeStatus::Refused); // no more
}

TEST(ListChange, TwentyProcessesAtOnceLoseNothing)
{
    Lists lists;
    lists.options.lockWait = 10s;
    std::vector<pid_t> children;
    for (int i = 0; i < 20; ++i) {
        const pid_t child = fork();
        if (child == 0)
            _exit(lists.change("application/x-type" + std::to_string(i)).status ==
                          ChangeStatus::Done
                      ? 0
                      : 1);
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    GKeyFile* file = g_key_file_new();
    ASSERT_TRUE(g_key_file_load_from_file(file, lists.list.c_str(), G_KEY_FILE_NONE, nullptr));
    for (int i = 0; i < 20; ++i) {
        const std::string type = "application/x-type" + std::to_string(i);
        gchar* value = g_key_file_get_value(file, "Default Applications", type.c_str(), nullptr);
        EXPECT_STREQ(value, "mpv.desktop;") << type;
        g_free(value);
    }
    g_key_file_free(file);
    EXPECT_EQ(lists.records().size(), 20u);
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(undoLastChange(lists.options).status, ChangeStatus::Done);
    EXPECT_EQ(TempTree::read(lists.list), listText);
}
