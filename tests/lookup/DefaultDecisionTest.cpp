// Which association list and line make an entry the default for a type, walked in GIO's order,
// in a freedesktop environment of the tests' own with a grandchild type and a second cache.

#include "xdg/DefaultDecision.h"

#include "FreedesktopEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace {

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new FreedesktopEnvironment([](TempTree& tree) {
        const std::string subclasses = TempTree::read(tree / "data/mime/subclasses");
        tree.write("data/mime/subclasses",
                   subclasses + "application/x-qimlar-grandchild application/x-qimlar-child\n");
        tree.write("sysdata/applications/mimeinfo.cache",
                   "[MIME Cache]\napplication/x-qimlar-child=viewer.desktop;\n");
    }));

using Row = std::tuple<std::string, std::string, std::string, bool>;

// Where `id` became the default for `type`, as one comparable row; empty when nowhere.
Row decided(const std::string& type, const std::string& id, const std::string& entry = "")
{
    const auto decision = qimlar::xdg::findDecision(type, id, entry);
    if (!decision)
        return {};
    return {decision->file, decision->group, decision->type, decision->throughParent};
}

std::string at(const std::string& relative)
{
    return *tree / relative;
}

} // namespace

TEST(DefaultDecision, EveryListsDefaultsComeBeforeAnyListsOtherAssociations)
{
    const std::string mimeapps = TempTree::read(at("config/mimeapps.list"));
    EXPECT_EQ(decided("audio/mpeg", "player.desktop"),
              Row(at("config/mimeapps.list"), "Default Applications", "audio/mpeg", false));
    EXPECT_EQ(decided("audio/mpeg", "vlc.desktop"),
              Row(at("data/applications/mimeinfo.cache"), "MIME Cache", "audio/mpeg", false));

    // The user's own association loses to a default in a list read after it.
    tree->write("config/mimeapps.list",
                mimeapps + "[Added Associations]\naudio/mpeg=vlc.desktop;\n");
    EXPECT_EQ(decided("audio/mpeg", "vlc.desktop"),
              Row(at("config/mimeapps.list"), "Added Associations", "audio/mpeg", false));
    tree->write("data/applications/mimeapps.list",
                "[Default Applications]\naudio/mpeg=vlc.desktop\n");
    EXPECT_EQ(
        decided("audio/mpeg", "vlc.desktop"),
        Row(at("data/applications/mimeapps.list"), "Default Applications", "audio/mpeg", false));
    // defaults.list gives defaults alone.
    std::filesystem::remove(at("data/applications/mimeapps.list"));
    tree->write("data/applications/defaults.list", "[Added Associations]\naudio/x-qimlar=vlc\n");
    EXPECT_EQ(decided("audio/x-qimlar", "vlc"), Row());
    std::filesystem::remove(at("data/applications/defaults.list"));
    tree->write("config/mimeapps.list", mimeapps);
}

TEST(DefaultDecision, TheNearestParentTypeDecidesWhereTheTypeHasNoLine)
{
    EXPECT_EQ(decided("application/x-qimlar-child", "player.desktop"),
              Row(at("config/mimeapps.list"), "Default Applications", "application/x-qimlar-parent",
                  true));
    // The child's line in a later cache before the parent's in an earlier one.
    EXPECT_EQ(decided("application/x-qimlar-grandchild", "viewer.desktop"),
              Row(at("sysdata/applications/mimeinfo.cache"), "MIME Cache",
                  "application/x-qimlar-child", true));
    // An entry no list names: its own MimeType line, through a parent too.
    const std::string lone =
        tree->write("data/applications/lone.desktop",
                    "[Desktop Entry]\nType=Application\nName=lone\nExec=viewer\n"
                    "MimeType=text/plain;application/x-qimlar-parent;\n");
    EXPECT_EQ(decided("application/x-qimlar-grandchild", "lone.desktop", lone),
              Row(lone, "MimeType", "application/x-qimlar-parent", true));
    EXPECT_EQ(decided("audio/x-vorbis+ogg", "lone.desktop", lone), Row());
    std::filesystem::remove(lone);
}

TEST(DefaultDecision, TheCurrentDesktopsListComesBeforeMimeappsListAndOnlyOnThatDesktop)
{
    const std::string type = "application/x-qimlar-desk";
    const Row kde(at("config/kde-mimeapps.list"), "Default Applications", type, false);
    EXPECT_EQ(decided(type, "term.desktop"), Row());
    for (const char* desktops : {"KDE:GNOME", "GNOME:kde", "KDE"}) {
        setenv("XDG_CURRENT_DESKTOP", desktops, 1);
        EXPECT_EQ(decided(type, "term.desktop"), kde) << desktops;
    }
    setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
    EXPECT_EQ(decided(type, "term.desktop"), Row());
    unsetenv("XDG_CURRENT_DESKTOP");
}

TEST(DefaultDecision, TheWalkKeepsWhatEachListPassedOverSaid)
{
    const auto walk = qimlar::xdg::walkToDecision("audio/mpeg", "vlc.desktop", "");
    ASSERT_TRUE(walk.decision);
    EXPECT_EQ(walk.decidingLine, "vlc.desktop;player.desktop;");
    EXPECT_EQ(walk.listsRead, 5u);
    ASSERT_FALSE(walk.passed.empty());
    const auto& first = walk.passed.front();
    EXPECT_EQ(
        std::tie(first.file, first.group, first.round, *first.line),
        std::make_tuple(at("config/mimeapps.list"), "Default Applications", 0, "player.desktop"));
    EXPECT_EQ(first.installed, std::vector<std::string>{"player.desktop"});

    // A type nothing opens: every list's line for it, the entries it names not installed, and
    // a line that names an entry of no name decides nothing.
    const std::string mimeapps = TempTree::read(at("config/mimeapps.list"));
    tree->write("config/mimeapps.list", mimeapps + "application/x-qimlar-orphan=;\n");
    const auto orphan = qimlar::xdg::walkThroughLists("application/x-qimlar-orphan");
    tree->write("config/mimeapps.list", mimeapps);
    EXPECT_FALSE(orphan.decision);
    ASSERT_FALSE(orphan.passed.empty());
    EXPECT_EQ(orphan.passed.front().line, std::optional<std::string>(";"));
    const auto named = std::find_if(orphan.passed.begin() + 1, orphan.passed.end(),
                                    [](const auto& list) { return list.line.has_value(); });
    ASSERT_NE(named, orphan.passed.end());
    EXPECT_EQ(std::tie(named->file, *named->line),
              std::make_tuple(at("data/applications/mimeinfo.cache"), "gone.desktop;"));
    EXPECT_TRUE(named->installed.empty());
}
