// The lookup's probe file with the real backend, in a freedesktop environment of its own: it is
// new, private and unguessable, and whatever goes wrong on the way (a file planted at its name,
// a folder it cannot be made or renamed in, a file system without the safe rename) finds
// nothing and leaves every file as it was.

#include "FreedesktopEnvironment.h"
#include "NativePlatform.h"
#include "ProbeName.h"
#include "TempTree.h"
#include "lookup/FindExe.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <map>
#include <regex>
#include <set>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new FreedesktopEnvironment);

std::filesystem::path tempFolder()
{
    return desktop->tempFolder;
}

} // namespace

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

TEST(LinuxLookupFaults, WhateverStandsAtTheProbeNameIsLeftAsItWasAndANewProbeAsks)
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
        EXPECT_EQ(qimlar::FindExe("mp3", platform), desktop->player);
        EXPECT_EQ(TempTree::snapshot(tree->root()), platform.beforeTheLookup);
        std::filesystem::remove(platform.planted);
    }

    // Names that are always taken: a bounded number of tries, each under a stem of its own,
    // then trouble; the probe goes.
    struct TakenPlatform : qimlar::NativePlatform
    {
        std::set<std::string> tried;
        qimlar::Status renameNoReplace(const std::string&, const std::string& to) override
        {
            tried.insert(to);
            return qimlar::Failure{"cannot rename: File exists", true};
        }
    } taken;
    const qimlar::LookupResult result = qimlar::LookUpProgram("mp3", taken);
    EXPECT_EQ(result.status, qimlar::LookupStatus::Trouble);
    EXPECT_EQ(result.reason, "cannot rename: File exists");
    EXPECT_GT(taken.tried.size(), 1u);
    EXPECT_LT(taken.tried.size(), 100u);
    for (const std::string& name : TempTree::names(tempFolder()))
        EXPECT_NE(name[0], '~') << name;
    std::filesystem::remove(victim);
}

// Another local user who watches a shared sticky folder and plants a file at the name each new
// probe is about to take, as fast as the kernel tells of the probe. Root only: the test
// becomes nobody to plant.
TEST(LinuxLookupFaults, ANeighbourPlantingAtEveryNewProbesNameMakesNoLookupFail)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "becoming another user takes root";
    std::string shared = "/tmp/qimlar-shared-XXXXXX";
    ASSERT_TRUE(mkdtemp(shared.data()));
    std::filesystem::permissions(shared, std::filesystem::perms(01777));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t neighbour = fork();
    if (neighbour == 0) {
        const int watch = inotify_init1(0);
        if (setgid(65534) != 0 || setuid(65534) != 0 || watch < 0 ||
            inotify_add_watch(watch, shared.c_str(), IN_CREATE) < 0 || write(ready[1], "", 1) != 1)
            std::_Exit(3);
        alignas(inotify_event) char events[4096];
        for (ssize_t got; (got = read(watch, events, sizeof events)) > 0;) {
            for (char* at = events; at < events + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                at += sizeof(inotify_event) + event->len;
                char name[PATH_MAX];
                const char* dot = event->len ? std::strrchr(event->name, '.') : nullptr;
                if (!dot || std::strcmp(dot, ".tmp") != 0)
                    continue;
                std::snprintf(name, sizeof name, "%s/%.*s.mp3", shared.c_str(),
                              static_cast<int>(dot - event->name), event->name);
                const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL, 0644);
                if (fd >= 0 && write(fd, "theirs", 6) == 6)
                    close(fd);
            }
        }
        std::_Exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the neighbour could not become nobody";
    int failed = 0;
    {
        TemporaryFolderSetTo set(shared);
        for (int lookup = 0; lookup < 300; ++lookup) {
            const qimlar::LookupResult result = lookUp("mp3");
            failed += result.program != desktop->player;
            if (result.program != desktop->player)
                ADD_FAILURE() << result.reason;
        }
    }
    kill(neighbour, SIGKILL);
    waitpid(neighbour, nullptr, 0);
    EXPECT_EQ(failed, 0);
    // Only the neighbour's files are left, each as it was.
    for (const auto& [path, content] : TempTree::snapshot(shared)) {
        struct stat info
        {};
        EXPECT_EQ(lstat(path.c_str(), &info) == 0 ? info.st_uid : 0, 65534u) << path;
        EXPECT_TRUE(content == "file theirs" || content == "file ") << path; // or cut short
    }
    std::filesystem::remove_all(shared);
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

TEST(LinuxLookup, TheStemMakesRoomForLongExtensionsUpToTheNameLimit)
{
    // "~", the stem's letters and "." take 18 of a name's 255 bytes; down to eight letters,
    // the stem gives them up to the extension.
    for (const std::size_t length : {237, 238, 245}) {
        const std::string extension = std::string(length - 4, 'x') + ".mp3";
        qimlar::LookupSession session(qimlar::nativePlatform());
        EXPECT_EQ(session.lookUp(extension).program, desktop->player) << length;
        EXPECT_EQ(session.probe().size(), tempFolder().string().size() + 1 + 255) << length;
        // The shorter stem serves the next extension too.
        EXPECT_EQ(session.lookUp("mp3").program, desktop->player) << length;
    }
    for (const std::size_t length : {246, 300}) {
        const qimlar::LookupResult result = lookUp(std::string(length - 4, 'x') + ".mp3");
        EXPECT_EQ(result.status, qimlar::LookupStatus::UnknownType) << length;
        EXPECT_EQ(result.reason, "no file name can be that long");
    }
    // The death tests' children leave their trees here: only probes count.
    for (const std::string& name : TempTree::names(tempFolder()))
        EXPECT_NE(name[0], '~') << name;
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
