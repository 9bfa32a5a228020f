#pragma once

// A freedesktop environment of the tests' own: a MIME glob file, desktop files, a mimeapps.list,
// programs on PATH and a temporary folder, so the lookup answers the same on any machine.

#include "TempTree.h"

#include <cstdlib>
#include <filesystem>
#include <string>

// What the environment answers, by extension:
//   mp3, MP3, -dash  -> bin/player (found on PATH)
//   ogg              -> "my apps/player two" (a quoted path with a space in the desktop file)
//   latin            -> caf\xe9/latin-player (a folder name that is not UTF-8, found on PATH)
//   orphan           -> nothing (a known type that no program opens)
struct Freedesktop
{
    explicit Freedesktop(const TempTree& tree)
        : player(tree / "bin/player"), spacedPlayer(tree / "my apps/player two"),
          latinPlayer(tree / "caf\xe9/latin-player"), tempFolder(tree / "tmp")
    {
        const std::string root = tree.root();
        const std::string program = "#!/bin/sh\n";
        tree.write("bin/player", program, true);
        tree.write("my apps/player two", program, true);
        tree.write("caf\xe9/latin-player", program, true);
        tree.write("data/mime/globs2", "50:audio/mpeg:*.mp3\n"
                                       "50:audio/x-vorbis+ogg:*.ogg\n"
                                       "50:application/x-qimlar-latin:*.latin\n"
                                       "50:application/x-qimlar-dash:*.-dash\n"
                                       "50:application/x-qimlar-orphan:*.orphan\n");
        application(tree, "player", "player %U", "audio/mpeg;application/x-qimlar-dash;");
        application(tree, "spaced", "\"" + root + "/my apps/player two\" %f",
                    "audio/x-vorbis+ogg;");
        application(tree, "latin", "latin-player %f", "application/x-qimlar-latin;");
        tree.write("config/mimeapps.list", "[Default Applications]\n"
                                           "audio/mpeg=player.desktop\n"
                                           "application/x-qimlar-dash=player.desktop\n"
                                           "audio/x-vorbis+ogg=spaced.desktop\n"
                                           "application/x-qimlar-latin=latin.desktop\n");
        std::filesystem::create_directories(tree / "sysdata");
        std::filesystem::create_directories(tree / "sysconfig");
        std::filesystem::create_directories(tempFolder);

        // GIO reads these once, at its first use: set them before any lookup.
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root + "/sysdata").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root + "/sysconfig").c_str(), 1);
        setenv("PATH", (root + "/bin:" + root + "/caf\xe9").c_str(), 1);
        setenv("TMPDIR", tempFolder.c_str(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
    }

    std::string player, spacedPlayer, latinPlayer;
    std::filesystem::path tempFolder;

private:
    static void application(const TempTree& tree, const std::string& name, const std::string& exec,
                            const std::string& types)
    {
        tree.write("data/applications/" + name + ".desktop",
                   "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec +
                       "\nMimeType=" + types + "\n");
    }
};
