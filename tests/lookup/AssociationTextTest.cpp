// The edit of an association list's text: read as GKeyFile reads it, changed in the lines it
// means to change only, and undone to the same bytes.

#include "TempTree.h"
#include "xdg/AssociationChange.h"
#include "xdg/AssociationListText.h"
#include "xdg/KeyFileCheck.h"
#include "xdg/UnifiedDiff.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace qimlar::xdg;

namespace {

// What GKeyFile itself says the key holds; a list's keys are types, never translations, so
// translated keys count as keys of their own.
std::optional<std::string> glibValue(const std::string& text, const std::string& group,
                                     const std::string& key)
{
    GKeyFile* file = g_key_file_new();
    std::optional<std::string> value;
    if (g_key_file_load_from_data(file, text.data(), text.size(), G_KEY_FILE_KEEP_TRANSLATIONS,
                                  nullptr))
        if (gchar* raw = g_key_file_get_value(file, group.c_str(), key.c_str(), nullptr)) {
            value = raw;
            g_free(raw);
        }
    g_key_file_free(file);
    return value;
}

ListEdit mpvDefault(const std::string& text, ListKind kind = ListKind::Associations)
{
    const auto edit = makeDefault(text, {"audio/mpeg", "mpv.desktop"}, kind);
    EXPECT_TRUE(edit) << edit.reason();
    return edit ? *edit : ListEdit{};
}

const std::string cared = "# my own notes\r\n"
                          "[Default Applications]\r\n"
                          "audio/mpeg = vlc.desktop;gone.desktop;\r\n"
                          "text/plain=kate.desktop;\r\n"
                          "\r\n"
                          "[X-Mine]\r\n"
                          "audio/mpeg=keep.desktop;\r\n"
                          "[Removed Associations]\r\n"
                          "audio/mpeg=mpv.desktop;totem.desktop;\r\n"
                          "image/png=mpv.desktop;\r\n"
                          "[Added Associations]\r\n"
                          "image/png=gimp.desktop;";

} // namespace

TEST(AssociationText, ReadsKeysAsGKeyFile)
{
    const std::string text =
        "[A]\n a = 1\nb[ar]=2\nb=3\na=4\n#a=5\n[B]\na=6\n  [A] \t\nc=\\s7\\;\n";
    const AssociationListText list(text);
    for (const auto& [group, key] : std::vector<std::pair<std::string, std::string>>{
             {"A", "a"}, {"A", "b"}, {"A", "b[ar]"}, {"A", "c"}, {"B", "a"}, {"B", "c"}})
        EXPECT_EQ(list.value(group, key), glibValue(text, group, key)) << group << " " << key;
    EXPECT_EQ(list.text(), text);
}

TEST(AssociationText, ChangesOnlyItsKeysAndUndoesToTheSameBytes)
{
    const ListEdit edit = mpvDefault(cared);
    EXPECT_EQ(edit.text, "# my own notes\r\n"
                         "[Default Applications]\r\n"
                         "audio/mpeg=mpv.desktop;vlc.desktop;gone.desktop;\r\n"
                         "text/plain=kate.desktop;\r\n"
                         "\r\n"
                         "[X-Mine]\r\n"
                         "audio/mpeg=keep.desktop;\r\n"
                         "[Removed Associations]\r\n"
                         "audio/mpeg=totem.desktop;\r\n"
                         "image/png=mpv.desktop;\r\n"
                         "[Added Associations]\r\n"
                         "image/png=gimp.desktop;\r\n"
                         "audio/mpeg=mpv.desktop;");
    EXPECT_EQ(glibValue(edit.text, addedGroup, "audio/mpeg"), "mpv.desktop;");
    EXPECT_EQ(edit.changes.size(), 3u);
    EXPECT_EQ(revert(edit.text, edit.changes), cared);
    EXPECT_TRUE(mpvDefault(edit.text).changes.empty()); // done already
}

TEST(AssociationText, EveryChangeUndoesToTheSameBytes)
{
    for (const std::string text :
         {"", "[Default Applications]\n", "# only a comment", "[Other]\nx=1\n\n",
          "[Removed Associations]\na=1\naudio/mpeg=mpv.desktop;\nb=2\n",
          "[Removed Associations]\naudio/mpeg=mpv.desktop;",
          "[Added Associations]\naudio/mpeg=mpv.desktop;\n[Default Applications]\n"}) {
        const ListEdit edit = mpvDefault(text);
        EXPECT_EQ(glibValue(edit.text, defaultsGroup, "audio/mpeg"), "mpv.desktop;") << text;
        EXPECT_EQ(glibValue(edit.text, removedGroup, "audio/mpeg"), std::nullopt) << text;
        EXPECT_EQ(revert(edit.text, edit.changes), text);
    }
    EXPECT_EQ(mpvDefault("").text, "[Default Applications]\naudio/mpeg=mpv.desktop;\n\n"
                                   "[Added Associations]\naudio/mpeg=mpv.desktop;\n");
}

TEST(AssociationText, DesktopListGetsTheDefaultOnly)
{
    const ListEdit edit =
        mpvDefault("[Default Applications]\naudio/mpeg=vlc.desktop;\n", ListKind::DefaultsOnly);
    EXPECT_EQ(edit.text, "[Default Applications]\naudio/mpeg=mpv.desktop;vlc.desktop;\n");
}

TEST(AssociationText, RefusesWhatWouldNotStayOneItem)
{
    EXPECT_FALSE(makeDefault("", {"audio/mpeg", "x.desktop\n[Evil]"}, ListKind::Associations));
    EXPECT_FALSE(makeDefault("", {"audio/mpeg", "a;b.desktop"}, ListKind::Associations));
    EXPECT_FALSE(makeDefault("", {"audio/mpeg", "mpv"}, ListKind::Associations));
    EXPECT_FALSE(makeDefault("", {"audio/mpeg=x", "mpv.desktop"}, ListKind::Associations));
    EXPECT_FALSE(makeDefault("", {"audio", "mpv.desktop"}, ListKind::Associations));
}

TEST(AssociationText, UnreadableListsGiveGLibsReason)
{
    EXPECT_TRUE(checkReadable("[A]\n\n# c\nk=v\n", "/l"));
    EXPECT_EQ(checkReadable("k=v\n[A]\n", "/l").reason(),
              "/l is not a list GLib can read: Key file does not start with a group");
    EXPECT_NE(checkReadable("[A]\nbroken\n", "/l").reason().find("“broken”"), std::string::npos);
    EXPECT_FALSE(checkReadable(std::string("[A]\nk=v\0w\n", 10), "/l"));
}

// The diff as `diff -u` prints it, the labels given for the dates it would print.
TEST(UnifiedDiff, AsDiffPrintsIt)
{
    TempTree tree;
    std::string lines;
    for (int i = 1; i <= 30; ++i)
        lines += "line " + std::to_string(i) + "\n";
    const auto changed = [&](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {lines, changed(changed(lines, "line 2\n", "two\n"), "line 28\n", "")},  // two hunks
        {lines, changed(changed(lines, "line 9\n", "nine\n"), "line 16\n", "")}, // one
        {lines, changed(changed(lines, "line 9\n", "nine\n"), "line 17\n", "")}, // two
        {"a\nb\nc", "a\nb\nc\n"},
        {"a\r\nb\r\n", "a\r\nB\r\nc"},
    };
    for (const auto& [before, after] : cases) {
        const auto old = tree.write("old", before), now = tree.write("new", after);
        const std::string command = "diff -u --label L --label L " + old.string() + " " +
                                    now.string() + " > " + (tree / "out").string();
        ASSERT_NE(std::system(command.c_str()), -1);
        EXPECT_EQ(unifiedDiff(before, after, "L"), TempTree::read(tree / "out")) << after;
    }
    EXPECT_EQ(unifiedDiff(std::nullopt, "[A]\nk=v\n", "/c/m.list"),
              "--- /dev/null\n+++ /c/m.list\n@@ -0,0 +1,2 @@\n+[A]\n+k=v\n");
    EXPECT_EQ(unifiedDiff(lines, lines, "L"), "");
}
