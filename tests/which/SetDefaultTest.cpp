// qimlar-which --set-default, --dry-run and --undo, each case in a freedesktop tree of its own,
// the answer afterwards checked against GIO's own in a process that never read the lists before.

#include "JsonReader.h"
#include "WhichProcess.h"

#include <cstdlib>
#include <utility>

namespace {

class SetDefault : public Which
{
protected:
    // Each case makes its own tree, in the system's temporary folder.
    static void SetUpTestSuite() { unsetenv("TMPDIR"); }
    static void TearDownTestSuite() {}
    void SetUp() override
    {
        tree = new TempTree;
        desktop = new Freedesktop(*tree);
        setenv("XDG_STATE_HOME", (*tree / "state").c_str(), 1);
    }
    void TearDown() override
    {
        delete std::exchange(desktop, nullptr);
        delete std::exchange(tree, nullptr);
        for (const char* name : {"TMPDIR", "XDG_CURRENT_DESKTOP", "XDG_STATE_HOME"})
            unsetenv(name);
    }

    static std::string bin(const std::string& name) { return *tree / ("bin/" + name); }
    static std::string list(const std::string& name = "mimeapps.list")
    {
        return *tree / ("config/" + name);
    }
    static std::map<std::string, std::string> config()
    {
        return TempTree::snapshot(*tree / "config");
    }
    static bool recorded() { return std::filesystem::exists(*tree / "state/qimlar"); }

    // GIO's default entry for `type` and its program.
    static std::string gio(const std::string& type)
    {
        const std::string out = *tree / "gio";
        const std::string command = std::string(GIO_DEFAULT) + " '" + type + "' > '" + out + "'";
        return std::system(command.c_str()) == 0 ? TempTree::read(out) : "failed";
    }
};

TEST_F(SetDefault, WritesTheDesktopListThatDecidesAndNamesIt)
{
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
    // A system-wide list ranks below the user's own: it cannot keep its default.
    tree->write("sysconfig/kde-mimeapps.list",
                "[Default Applications]\napplication/x-qimlar-desk=term.desktop\n");
    const Outcome changed = run({"--set-default", "player.desktop", "desk"});
    EXPECT_EQ(changed.status, 0) << changed.err;
    EXPECT_EQ(changed.out, desktop->player + "\n");
    EXPECT_NE(changed.err.find(list("kde-mimeapps.list")), std::string::npos) << changed.err;
    EXPECT_EQ(TempTree::read(list("kde-mimeapps.list")),
              "[Default Applications]\napplication/x-qimlar-desk=player.desktop;term.desktop;\n");
    EXPECT_EQ(gio("application/x-qimlar-desk"), "player.desktop\n" + desktop->player + "\n");
}

TEST_F(SetDefault, RefusesAnUnknownAppOrAPathTwoProgramsShareAndWritesNothing)
{
    tree->write("data/applications/vlc2.desktop",
                "[Desktop Entry]\nType=Application\nName=v\nExec=vlc %U\nMimeType=audio/mpeg;\n");
    tree->write("data/applications/mimeinfo.cache",
                "[MIME Cache]\naudio/mpeg=vlc.desktop;vlc2.desktop;player.desktop;\n");
    const auto before = config();
    for (const std::string& app : {std::string("nope.desktop"), bin("vlc"), bin("none")}) {
        const Outcome refused = run({"--set-default", app, "mp3"});
        EXPECT_EQ(refused.status, 2) << app;
        EXPECT_EQ(refused.out, "\n") << app;
        EXPECT_NE(refused.err, "") << app;
    }
    EXPECT_NE(run({"--set-default", bin("vlc"), "mp3"}).err.find("vlc.desktop and vlc2.desktop"),
              std::string::npos);
    EXPECT_EQ(config(), before);
    EXPECT_FALSE(recorded());
}

TEST_F(SetDefault, TakesAProgramPathAndWarnsOfAnEntryThatDoesNotListTheType)
{
    const Outcome changed = run({"--json", "--set-default", bin("viewer"), "mp3"});
    EXPECT_EQ(changed.status, 0) << changed.err;
    EXPECT_NE(changed.err.find("warning: viewer.desktop does not list audio/mpeg"),
              std::string::npos)
        << changed.err;
    const auto json = Json::parse(changed.out);
    ASSERT_TRUE(json) << changed.out;
    const Json& answer = (*json)[0];
    EXPECT_EQ(answer["query"].text, "mp3");
    EXPECT_EQ(answer["type"].text, "audio/mpeg");
    EXPECT_EQ(answer["program"].text, bin("viewer"));
    EXPECT_EQ(answer["previous"].text, desktop->player);
    EXPECT_EQ(answer["files"][0].text, list());
    EXPECT_EQ(answer["status"].text, "default");
    EXPECT_NE(TempTree::read(list()).find("[Added Associations]\naudio/mpeg=viewer.desktop;\n"),
              std::string::npos);
    EXPECT_EQ(gio("audio/mpeg"), "viewer.desktop\n" + bin("viewer") + "\n");
}

TEST_F(SetDefault, DryRunShowsTheDiffAndTheAnswerAndWritesNothing)
{
    const auto before = config();
    const Outcome shown = run({"--dry-run", "--set-default", "vlc.desktop", "-m", "audio/mpeg"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(shown.out.starts_with("--- " + list() + "\n+++ " + list() + "\n@@ ")) << shown.out;
    EXPECT_NE(shown.out.find("\n+audio/mpeg=vlc.desktop;player.desktop;\n"), std::string::npos);
    EXPECT_TRUE(shown.out.ends_with("\n" + bin("vlc") + "\n")) << shown.out;
    EXPECT_EQ(config(), before);
    EXPECT_FALSE(recorded());
}

TEST_F(SetDefault, UndoGoesBackOneChangeAtATimeToTheBytesThereWere)
{
    const auto before = config();
    ASSERT_EQ(run({"--set-default", "vlc.desktop", "mp3"}).status, 0);
    const auto afterFirst = config();
    ASSERT_EQ(run({"--set-default", "viewer.desktop", "mp3"}).status, 0);
    const Outcome undone = run({"--undo"});
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_NE(undone.out.find(list()), std::string::npos) << undone.out;
    EXPECT_EQ(config(), afterFirst);
    EXPECT_EQ(run({"--undo"}).status, 0);
    EXPECT_EQ(config(), before);
    const Outcome nothing = run({"--undo"});
    EXPECT_EQ(nothing.status, 2);
    EXPECT_NE(nothing.err.find("no change to undo"), std::string::npos);
}

// A desktop's own list ranks above the user's, and GIO reads its keys by the types they stand
// for: a line under another name of the type still decides.
TEST_F(SetDefault, ExitsOneNamingTheLineThatStillDecides)
{
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
    tree->write("data/mime/aliases", "audio/x-mp3 audio/mpeg\n");
    tree->write("config/kde-mimeapps.list", "[Default Applications]\naudio/x-mp3=vlc.desktop;\n");
    const Outcome changed = run({"--set-default", "player.desktop", "mp3"});
    EXPECT_EQ(changed.status, 1);
    EXPECT_EQ(changed.out, bin("vlc") + "\n");
    EXPECT_NE(changed.err.find("`audio/x-mp3=vlc.desktop;` in [Default Applications] of " +
                               list("kde-mimeapps.list")),
              std::string::npos)
        << changed.err;
    EXPECT_EQ(gio("audio/mpeg"), "vlc.desktop\n" + bin("vlc") + "\n");
}

TEST_F(SetDefault, UndoAndDryRunStandAlone)
{
    EXPECT_EQ(run({"--dry-run", "mp3"}).status, 2);
    EXPECT_EQ(run({"--undo", "mp3"}).status, 2);
    EXPECT_EQ(run({"--set-default"}).status, 2);
    EXPECT_EQ(run({"--set-default", "vlc.desktop"}).status, 2);
}

} // namespace
