// From a desktop entry's Exec line to the program it starts, past the wrappers in front of it,
// with programs on PATH in a freedesktop environment of the tests' own.

#include "xdg/DesktopCommand.h"

#include "FreedesktopEnvironment.h"
#include "xdg/FieldCodes.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new FreedesktopEnvironment);

} // namespace

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
TEST(DesktopCommand, TheWalkKeepsTheSkippedWordsTheWrapperAndWhereItsProgramWasFound)
{
    using qimlar::xdg::Wrapper;
    const std::string bin = *tree / "bin";
    const auto walk = [&](const std::string& exec) {
        return qimlar::xdg::findProgram({*tree / "data/applications/any.desktop", exec, ""},
                                        *tree / "snap-bin")
            .walk;
    };
    const auto env = walk("env A=1 -u B -S 'C=2 viewer' --x %f");
    EXPECT_EQ(std::tie(env.commandLine, env.skipped, env.wrapper, env.name, env.program),
              std::make_tuple("env A=1 -u B -S 'C=2 viewer' --x", "env A=1 -u B -S C=2 viewer C=2",
                              Wrapper::None, "viewer", bin + "/viewer"));
    const auto missing = walk("env A=1 missing-viewer");
    EXPECT_EQ(std::tie(missing.skipped, missing.name, missing.program),
              std::make_tuple("env A=1", "missing-viewer", ""));

    // With no program file for the application, its starter's name and file.
    const auto bare = walk(bin + "/flatpak run org.example.Bare %u");
    EXPECT_EQ(
        std::tie(bare.wrapper, bare.application, bare.wholeCommandLine, bare.name, bare.program),
        std::make_tuple(Wrapper::Flatpak, "org.example.Bare", true, bin + "/flatpak",
                        bin + "/flatpak"));
    tree->write("snap-bin/hello", "#!/bin/sh\n", true);
    const auto snap = walk("snap run hello %U");
    EXPECT_EQ(
        std::tie(snap.skipped, snap.wrapper, snap.application, snap.wholeCommandLine, snap.program),
        std::make_tuple("", Wrapper::Snap, "hello", false, (*tree / "snap-bin/hello").string()));
}
