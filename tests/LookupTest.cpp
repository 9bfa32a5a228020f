// The lookup against a platform that records every call.

#include "FakePlatform.h"
#include "FindExe.h"

#include <gtest/gtest.h>

using Calls = std::vector<std::string>;

TEST(FindExe, CreatesRenamesLooksUpAndDeletesInThatOrder)
{
    FakePlatform platform;
    EXPECT_EQ(qimlar::FindExe("mp3", platform), "/usr/bin/mpv");
    EXPECT_EQ(platform.calls,
              (Calls{"tempFolder", "create /tmp/ ~", "rename /tmp/~k3vq.tmp /tmp/~k3vq.mp3",
                     "find /tmp/~k3vq.mp3", "delete /tmp/~k3vq.mp3"}));
}

TEST(FindExe, ProbeNameKeepsFolderAndStemAndTakesTheExtensionAsTyped)
{
    struct Case
    {
        std::string created, extension, probe;
    };
    const Case cases[] = {
        {"/tmp/~k3vq.tmp", "mp3", "/tmp/~k3vq.mp3"},
        {"/tmp/~k3vq.tmp", ".mp3", "/tmp/~k3vq..mp3"},
        {"/tmp/~k3vq.tmp", "", "/tmp/~k3vq."},
        {"/tmp/~k3vq.tmp", "MP3", "/tmp/~k3vq.MP3"},
        {"/tmp/~k3vq.tmp", " mp3 ", "/tmp/~k3vq. mp3 "},
        {"/home/a.b/tmp.d/~k3vq.tmp", "mp3", "/home/a.b/tmp.d/~k3vq.mp3"},
        {"/tmp/~k3vq.tmp", "tar.gz", "/tmp/~k3vq.tar.gz"},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.createdName = c.created;
        qimlar::FindExe(c.extension, platform);
        ASSERT_EQ(platform.calls.size(), 5u) << c.extension;
        EXPECT_EQ(platform.calls[2], "rename " + c.created + " " + c.probe);
        EXPECT_EQ(platform.calls[3], "find " + c.probe);
        EXPECT_EQ(platform.calls[4], "delete " + c.probe);
    }
}

TEST(FindExe, StopsWithNothingWhenThereIsNoTemporaryFolderOrFile)
{
    FakePlatform noFolder;
    noFolder.folder.reset();
    EXPECT_EQ(qimlar::FindExe("mp3", noFolder), "");
    EXPECT_EQ(noFolder.calls, (Calls{"tempFolder"}));

    FakePlatform noFile;
    noFile.createdName.reset();
    EXPECT_EQ(qimlar::FindExe("mp3", noFile), "");
    EXPECT_EQ(noFile.calls, (Calls{"tempFolder", "create /tmp/ ~"}));
}

TEST(FindExe, NothingFoundStillDeletesTheProbe)
{
    FakePlatform platform;
    platform.executable.clear();
    EXPECT_EQ(qimlar::FindExe("zzz", platform), "");
    EXPECT_EQ(platform.calls.back(), "delete /tmp/~k3vq.zzz");
}

TEST(FindExe, AFailedRenameDeletesOnlyTheProbeUnderItsCreatedName)
{
    FakePlatform platform;
    platform.renameSucceeds = false;
    EXPECT_EQ(qimlar::FindExe("mp3", platform), "");
    EXPECT_EQ(platform.calls,
              (Calls{"tempFolder", "create /tmp/ ~", "rename /tmp/~k3vq.tmp /tmp/~k3vq.mp3",
                     "delete /tmp/~k3vq.tmp"}));
}

TEST(FindExe, AnExtensionThatCannotEndAFileNameIsNeverRenamedTo)
{
    const std::string refused[] = {"a/b", "/../../etc/passwd", "../x",
                                   std::string("mp\0"
                                               "3",
                                               4)};
    for (const std::string& extension : refused) {
        FakePlatform platform;
        EXPECT_EQ(qimlar::FindExe(extension, platform), "");
        EXPECT_EQ(platform.calls, (Calls{"tempFolder", "create /tmp/ ~", "delete /tmp/~k3vq.tmp"}))
            << extension;
    }
}

TEST(FindExe, TheTemporaryExtensionItselfNeedsNoRename)
{
    FakePlatform platform;
    EXPECT_EQ(qimlar::FindExe("tmp", platform), "/usr/bin/mpv");
    EXPECT_EQ(platform.calls, (Calls{"tempFolder", "create /tmp/ ~", "find /tmp/~k3vq.tmp",
                                     "delete /tmp/~k3vq.tmp"}));
}

TEST(FindExe, AProbeThatCannotBeDeletedStillGivesItsAnswer)
{
    FakePlatform platform;
    platform.deleteSucceeds = false;
    EXPECT_EQ(qimlar::FindExe("mp3", platform), "/usr/bin/mpv");
}
