#pragma once

// A freedesktop environment of the tests' own: a MIME glob file, desktop files, a mimeapps.list,
// programs on PATH and a temporary folder, so the lookup answers the same on any machine.

#include "TempTree.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// What the environment answers, by extension:
//   mp3, MP3, -dash  -> bin/player (found on PATH); every program for mp3: player (the
//                       default), vlc (registered for audio/mpeg), viewer (registered for
//                       its parent type application/x-qimlar-parent)
//   ogg              -> "my apps/player two" (a quoted path with a space in the desktop file)
//   latin            -> caf\xe9/latin-player (a folder name that is not UTF-8, found on PATH)
//   orphan           -> nothing (a known type whose one registered entry is not installed)
//   child            -> bin/player, the default of its parent type
//   desk             -> bin/player, or bin/tui where XDG_CURRENT_DESKTOP names KDE
// and the entries in `wrapped`, one of each kind that starts its program through another.
// Every program here writes its path and arguments to `trace`, a line each, when it runs.
struct Freedesktop
{
    explicit Freedesktop(const TempTree& tree)
        : player(tree / "bin/player"), spacedPlayer(tree / "my apps/player two"),
          latinPlayer(tree / "caf\xe9/latin-player"), tempFolder(tree / "tmp"),
          trace(tree / "trace")
    {
        const std::string root = tree.root();
        const std::string program =
            "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" + trace.string() + "'\n";
        for (const std::string name :
             {"bin/player", "my apps/player two", "caf\xe9/latin-player", "bin/vlc", "bin/viewer",
              "bin/flatpak", "bin/snap", "bin/tui", "system-flatpak/exports/bin/org.example.System",
              "data/flatpak/exports/bin/org.example.User"})
            tree.write(name, program, true);
        std::filesystem::create_symlink("/usr/bin/env", tree / "bin/env");

        globs = "50:audio/mpeg:*.mp3\n"
                "50:audio/x-vorbis+ogg:*.ogg\n"
                "50:application/x-qimlar-latin:*.latin\n"
                "50:application/x-qimlar-dash:*.-dash\n"
                "50:application/x-qimlar-orphan:*.orphan\n"
                "50:application/x-qimlar-child:*.child\n"
                "50:application/x-qimlar-desk:*.desk\n";
        defaults = "[Default Applications]\n"
                   "audio/mpeg=player.desktop\n"
                   "application/x-qimlar-dash=player.desktop\n"
                   "audio/x-vorbis+ogg=spaced.desktop\n"
                   "application/x-qimlar-latin=latin.desktop\n"
                   "application/x-qimlar-parent=player.desktop\n"
                   "application/x-qimlar-desk=player.desktop\n";
        application(tree, "player", "player %U", "audio/mpeg;application/x-qimlar-dash;");
        application(tree, "spaced", "\"" + root + "/my apps/player two\" %f",
                    "audio/x-vorbis+ogg;");
        application(tree, "latin", "latin-player %f", "application/x-qimlar-latin;");
        application(tree, "vlc", "vlc %U", "audio/mpeg;");
        application(tree, "viewer", "viewer %f", "application/x-qimlar-parent;");
        caches["data/applications"] = "audio/mpeg=vlc.desktop;player.desktop;\n"
                                      "application/x-qimlar-parent=viewer.desktop;\n"
                                      "application/x-qimlar-orphan=gone.desktop;\n";
        addWrappedEntries(tree);

        tree.write("data/mime/globs2", globs);
        // The database's list of its types: each type of a glob, and the parent type.
        std::string types = "application/x-qimlar-parent\n";
        for (std::size_t at = 0; (at = globs.find(':', at)) != std::string::npos; ++at) {
            const std::size_t end = globs.find(':', at + 1);
            types += globs.substr(at + 1, end - at - 1) + "\n";
            at = globs.find('\n', end);
        }
        tree.write("data/mime/types", types);
        tree.write("data/mime/subclasses",
                   "application/x-qimlar-child application/x-qimlar-parent\n"
                   "audio/mpeg application/x-qimlar-parent\n");
        tree.write("config/mimeapps.list", defaults);
        tree.write("config/kde-mimeapps.list",
                   "[Default Applications]\napplication/x-qimlar-desk=term.desktop\n");
        for (const auto& [folder, cache] : caches)
            tree.write(folder + "/mimeinfo.cache", "[MIME Cache]\n" + cache);
        std::filesystem::create_directories(tree / "sysdata");
        std::filesystem::create_directories(tree / "sysconfig");
        std::filesystem::create_directories(tempFolder);

        // GIO reads these once, at its first use: set them before any lookup. Flatpak's system
        // and per-user installations export their entries as data folders.
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        setenv("XDG_DATA_DIRS",
               (root + "/sysdata:" + root + "/system-flatpak/exports/share:" + root +
                "/data/flatpak/exports/share")
                   .c_str(),
               1);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root + "/sysconfig").c_str(), 1);
        setenv("PATH", (root + "/bin:" + root + "/caf\xe9").c_str(), 1);
        setenv("TMPDIR", tempFolder.c_str(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
    }

    std::string player, spacedPlayer, latinPlayer;
    std::filesystem::path tempFolder;
    std::filesystem::path trace;

    // An entry that starts its program through another, and what the lookup says of it.
    struct Wrapped
    {
        std::string extension, program, command, entry, decidedBy;
        bool terminal = false;
    };
    std::vector<Wrapped> wrapped;

private:
    std::string globs, defaults;
    std::map<std::string, std::string> caches; // mimeinfo.cache's lines, by folder

    static std::string application(const TempTree& tree, const std::string& name,
                                   const std::string& exec, const std::string& types,
                                   const std::string& folder = "data/applications",
                                   const std::string& more = "")
    {
        return tree.write(folder + "/" + name + ".desktop",
                          "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec +
                              "\nMimeType=" + types + "\n" + more);
    }

    // An entry for files *.EXTENSION that runs `exec`; the user's mimeapps.list makes it their
    // default, or, in Flatpak's folders, mimeinfo.cache registers it.
    void add(const TempTree& tree, const std::string& extension, const std::string& exec,
             const std::string& program, const std::string& command,
             const std::string& folder = "data/applications", const std::string& more = "")
    {
        const std::string type = "application/x-qimlar-" + extension;
        globs += "50:" + type + ":*." + extension + "\n";
        const std::string entry = application(tree, extension, exec, type + ";", folder, more);
        std::string decidedBy = tree / "config/mimeapps.list";
        if (folder == "data/applications") {
            defaults += type + "=" + extension + ".desktop\n";
        } else {
            caches[folder] += type + "=" + extension + ".desktop;\n";
            decidedBy = tree / (folder + "/mimeinfo.cache");
        }
        wrapped.push_back({extension, program, command, entry, decidedBy,
                           more.find("Terminal=true") != std::string::npos});
    }

    void addWrappedEntries(const TempTree& tree)
    {
        const std::string bin = tree.root() / "bin";
        const std::string hint = "env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/vlc_vlc.desktop ";
        add(tree, "snapenv", hint + bin + "/vlc %U", bin + "/vlc", hint + bin + "/vlc");
        const std::string env = "/usr/bin/env -i - -u LANG --unset=LC_ALL GDK_BACKEND=x11 --";
        add(tree, "envopts", env + " viewer %f", bin + "/viewer", env + " viewer");

        const std::string run = bin + "/flatpak run --branch=stable --arch=x86_64 --command=app ";
        const std::string system = "system-flatpak/exports/", user = "data/flatpak/exports/";
        add(tree, "flatsys", run + "--file-forwarding org.example.System @@u %U @@",
            tree / (system + "bin/org.example.System"),
            run + "--file-forwarding org.example.System", system + "share/applications",
            "X-Flatpak=org.example.System\n");
        add(tree, "flatuser", run + "--file-forwarding org.example.User @@ %F @@",
            tree / (user + "bin/org.example.User"), run + "--file-forwarding org.example.User",
            user + "share/applications", "X-Flatpak=org.example.User\n");
        // No launcher exported: the command line, the application named by `flatpak run` alone.
        add(tree, "flatbare", run + "org.example.Bare %u", run + "org.example.Bare",
            run + "org.example.Bare", user + "share/applications");
        // No /snap/bin/hello on a test machine: the command line.
        add(tree, "snaprun", bin + "/snap run hello %U", bin + "/snap run hello",
            bin + "/snap run hello");
        add(tree, "term", "tui %f", bin + "/tui", "tui", "data/applications", "Terminal=true\n");
    }
};
