// The lookup against a platform that records every call.

#include "FakePlatform.h"
#include "lookup/FindExe.h"

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

TEST(FindExe, NoTemporaryFolderOrFileIsTroubleWithItsReason)
{
    FakePlatform noFolder;
    noFolder.folder = qimlar::Failure{"no folder"};
    const auto withoutFolder = qimlar::LookUpProgram("mp3", noFolder);
    EXPECT_EQ(withoutFolder.status, qimlar::LookupStatus::Trouble);
    EXPECT_EQ(withoutFolder.reason, "no folder");
    EXPECT_EQ(withoutFolder.program, "");
    EXPECT_EQ(noFolder.calls, (Calls{"tempFolder"}));

    FakePlatform noFile;
    noFile.createdName = qimlar::Failure{"no file"};
    const auto withoutFile = qimlar::LookUpProgram("mp3", noFile);
    EXPECT_EQ(withoutFile.status, qimlar::LookupStatus::Trouble);
    EXPECT_EQ(withoutFile.reason, "no file");
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
    platform.renamed = qimlar::Failure{"taken"};
    const auto result = qimlar::LookUpProgram("mp3", platform);
    EXPECT_EQ(result.status, qimlar::LookupStatus::Trouble);
    EXPECT_EQ(result.reason, "taken");
    EXPECT_EQ(result.program, "");
    EXPECT_EQ(platform.calls,
              (Calls{"tempFolder", "create /tmp/ ~", "rename /tmp/~k3vq.tmp /tmp/~k3vq.mp3",
                     "delete /tmp/~k3vq.tmp"}));

    // A probe that then cannot be deleted either is named beside the first cause.
    platform.deleted = qimlar::Failure{"cannot delete /tmp/~k3vq.tmp: Permission denied"};
    EXPECT_EQ(qimlar::LookUpProgram("mp3", platform).reason,
              "taken; cannot delete /tmp/~k3vq.tmp: Permission denied");
}

TEST(FindExe, AnExtensionThatCannotEndAFileNameIsNeverRenamedTo)
{
    const std::string refused[] = {"a/b", "/../../etc/passwd", "../x",
                                   std::string("mp\0"
                                               "3",
                                               4)};
    for (const std::string& extension : refused) {
        FakePlatform platform;
        const auto result = qimlar::LookUpProgram(extension, platform);
        EXPECT_EQ(result.status, qimlar::LookupStatus::UnknownType) << extension;
        EXPECT_EQ(result.program, "");
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

// A probe left behind in somebody's folder is never passed over in silence.
TEST(FindExe, AProbeThatCannotBeDeletedIsTrouble)
{
    FakePlatform platform;
    platform.deleted = qimlar::Failure{"cannot delete /tmp/~k3vq.mp3: Permission denied"};
    const auto result = qimlar::LookUpProgram("mp3", platform);
    EXPECT_EQ(result.status, qimlar::LookupStatus::Trouble);
    EXPECT_EQ(result.reason, "cannot delete /tmp/~k3vq.mp3: Permission denied");
    EXPECT_EQ(qimlar::FindExe("mp3", platform), "");
}

TEST(LookupSession, OneProbeGoesFromExtensionToExtensionAndIsDeletedAtTheEnd)
{
    FakePlatform platform;
    qimlar::LookupSession session(platform);
    EXPECT_EQ(session.lookUp("mp3").program, "/usr/bin/mpv");
    EXPECT_EQ(session.lookUp("tar.gz").program, "/usr/bin/mpv");
    EXPECT_EQ(session.lookUp("ogg").program, "/usr/bin/mpv");
    EXPECT_EQ(session.probe(), "/tmp/~k3vq.ogg");
    EXPECT_TRUE(session.end());
    EXPECT_EQ(session.probe(), "");
    EXPECT_EQ(platform.calls,
              (Calls{"tempFolder", "create /tmp/ ~", "rename /tmp/~k3vq.tmp /tmp/~k3vq.mp3",
                     "find /tmp/~k3vq.mp3", "rename /tmp/~k3vq.mp3 /tmp/~k3vq.tar.gz",
                     "find /tmp/~k3vq.tar.gz", "rename /tmp/~k3vq.tar.gz /tmp/~k3vq.ogg",
                     "find /tmp/~k3vq.ogg", "delete /tmp/~k3vq.ogg"}));

    // After the end, the next lookup makes a probe of its own.
    platform.calls.clear();
    session.lookUp("mp3");
    EXPECT_EQ(platform.calls.front(), "tempFolder");
}

TEST(LookupSession, ARefusedRenameIsTroubleForThatLookupAloneAndTheProbeKeepsItsName)
{
    FakePlatform platform;
    qimlar::LookupSession session(platform);
    session.lookUp("mp3");
    platform.renamed = qimlar::Failure{"cannot rename: File exists"};
    const auto refused = session.lookUp("ogg");
    EXPECT_EQ(refused.status, qimlar::LookupStatus::Trouble);
    EXPECT_EQ(refused.reason, "cannot rename: File exists");
    EXPECT_EQ(refused.program, "");
    platform.renamed = qimlar::Done{};
    EXPECT_EQ(session.lookUp("a/b").status, qimlar::LookupStatus::UnknownType);
    EXPECT_EQ(session.lookUp("pdf").program, "/usr/bin/mpv");
    EXPECT_TRUE(session.end());
    EXPECT_EQ(platform.calls,
              (Calls{"tempFolder", "create /tmp/ ~", "rename /tmp/~k3vq.tmp /tmp/~k3vq.mp3",
                     "find /tmp/~k3vq.mp3", "rename /tmp/~k3vq.mp3 /tmp/~k3vq.ogg",
                     "rename /tmp/~k3vq.mp3 /tmp/~k3vq.pdf", "find /tmp/~k3vq.pdf",
                     "delete /tmp/~k3vq.pdf"}));
}

TEST(LookupSession, AnEndThatCannotDeleteTheProbeSaysWhy)
{
    FakePlatform platform;
    platform.deleted = qimlar::Failure{"cannot delete /tmp/~k3vq.mp3: Permission denied"};
    {
        qimlar::LookupSession session(platform);
        session.lookUp("mp3");
        const auto ended = session.end();
        EXPECT_FALSE(ended);
        EXPECT_EQ(ended.reason(), "cannot delete /tmp/~k3vq.mp3: Permission denied");
        session.lookUp("ogg");
    }
    // A session that goes without its end still deletes its probe.
    EXPECT_EQ(platform.calls.back(), "delete /tmp/~k3vq.ogg");
}

TEST(LookupSession, ATypeWithARegisteredExtensionIsAskedAboutThroughTheSessionsProbe)
{
    FakePlatform platform;
    platform.typeExtension = ".mp3";
    qimlar::LookupSession session(platform);
    const auto byType = session.lookUpType("audio/mpeg", {.explanation = true});
    EXPECT_EQ(byType.program, "/usr/bin/mpv");
    EXPECT_EQ(byType.type, "audio/mpeg");
    // The sentence begins with where this system keeps the type's extension.
    ASSERT_EQ(byType.explanation.size(), 2u);
    EXPECT_TRUE(byType.explanation[0].ends_with(
        "audio/mpeg names the extension .mp3: the lookup asks about that."))
        << byType.explanation[0];
    EXPECT_EQ(byType.explanation[1], "The lookup asked about the empty file /tmp/~k3vq.mp3.");
    // A batch goes on with the same probe, which the session's end deletes.
    session.lookUp("ogg");
    EXPECT_TRUE(session.end());
    EXPECT_EQ(platform.calls, (Calls{"extension of audio/mpeg", "tempFolder", "create /tmp/ ~",
                                     "rename /tmp/~k3vq.tmp /tmp/~k3vq.mp3", "find /tmp/~k3vq.mp3",
                                     "rename /tmp/~k3vq.mp3 /tmp/~k3vq.ogg", "find /tmp/~k3vq.ogg",
                                     "delete /tmp/~k3vq.ogg"}));

    // On its own, the type's probe is gone before the answer, and one left behind is trouble.
    platform.calls.clear();
    EXPECT_EQ(qimlar::LookUpType("audio/mpeg", platform).program, "/usr/bin/mpv");
    EXPECT_EQ(platform.calls.back(), "delete /tmp/~k3vq.mp3");
    platform.deleted = qimlar::Failure{"cannot delete /tmp/~k3vq.mp3: Permission denied"};
    EXPECT_EQ(qimlar::LookUpType("audio/mpeg", platform).status, qimlar::LookupStatus::Trouble);
}

TEST(LookupSession, ATypeWithoutARegisteredExtensionIsAskedAboutByItselfWithNoProbe)
{
    for (const auto& extension : {std::optional<std::string>(), std::optional<std::string>("")}) {
        FakePlatform platform;
        platform.typeExtension = extension;
        platform.executable.clear();
        const auto result = qimlar::LookUpType("audio/mpeg", platform);
        EXPECT_EQ(result.status, qimlar::LookupStatus::NoProgram);
        EXPECT_EQ(platform.calls, (Calls{"extension of audio/mpeg", "find type audio/mpeg"}));
    }
}
