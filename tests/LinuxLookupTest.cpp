// The lookup with the real backend, in a freedesktop environment of its own, so it answers the
// same on any machine.

#include "FindExe.h"
#include "Freedesktop.h"
#include "PlatformLinux.h"
#include "ProbeName.h"
#include "TempTree.h"

#include <gtest/gtest.h>

#include <regex>
#include <sys/stat.h>

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

} // namespace

TEST(LinuxLookup, FindsTheDefaultProgramAndLeavesNoProbe)
{
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
    EXPECT_TRUE(TempTree::names(*tree / "bin") == std::set<std::string>{"player"});
}

// Stands in a file at the probe name between creating the probe and renaming it.
class ClashingPlatform : public qimlar::LinuxPlatform
{
public:
    std::filesystem::path planted;
    std::optional<std::string> createUniqueFile(const std::string& folder,
                                                const std::string& prefix) override
    {
        auto created = LinuxPlatform::createUniqueFile(folder, prefix);
        planted = qimlar::probeName(*created, "mp3");
        tree->write(planted.lexically_relative(tree->root()), "somebody's data");
        return created;
    }
};

TEST(LinuxLookup, AFileAtTheProbeNameIsLeftAsItWas)
{
    ClashingPlatform platform;
    EXPECT_EQ(qimlar::FindExe("mp3", platform), "");
    EXPECT_EQ(TempTree::read(platform.planted), "somebody's data");
    EXPECT_EQ(TempTree::names(tempFolder()), std::set{platform.planted.filename().string()});
    std::filesystem::remove(platform.planted);
}

TEST(LinuxLookup, ProbeFilesAreNewPrivateAndUnguessable)
{
    qimlar::LinuxPlatform platform;
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
