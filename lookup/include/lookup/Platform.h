#pragma once

#include "lookup/DefaultChange.h"
#include "lookup/LookupResult.h"
#include "lookup/Outcome.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qimlar {

// A started program as the operating system knows it: a process id on POSIX systems, the
// process and thread handles on Windows.
struct ProcessHandle
{
    std::intptr_t process = 0;
    std::intptr_t thread = 0;
};

// Everything the lookup and the launcher ask of the operating system. There is one
// implementation per platform; tests stand in their own to watch the calls.
//
// Texts are the platform's file-name bytes: what the file system holds on POSIX systems,
// UTF-8 on Windows, where the backend converts to UTF-16 at the call.
class Platform
{
public:
    virtual ~Platform() = default;

    // The user's temporary folder, ending in a path separator.
    virtual Outcome<std::string> tempFolder() = 0;

    // Creates a new, empty file in `folder` whose name is `prefix`, a unique part holding no
    // ".", then "." and the temporary-file extension. Returns its full name.
    virtual Outcome<std::string> createUniqueFile(const std::string& folder,
                                                  const std::string& prefix) = 0;

    // Renames `from` to `to`, failing rather than replacing a file that `to` already names.
    virtual Status renameNoReplace(const std::string& from, const std::string& to) = 0;

    // What the desktop's associations say of `file`: its type, the program that opens it and
    // why, and what `detail` asks for. The status is Found, UnknownType or NoProgram, or
    // Trouble where the desktop's own files cannot be read safely. The file is not changed.
    virtual LookupResult findAssociation(const std::string& file, const LookupDetail& detail) = 0;

    // The extension registered for `type` (".mp3" for audio/mpeg), where this platform
    // associates extensions rather than types and the lookup asks about a probe of that
    // extension in the type's place; std::nullopt where types are associated themselves and
    // findTypeAssociation answers. An empty text: no extension is registered for the type.
    virtual std::optional<std::string> registeredExtension(const std::string& type);

    // The same as findAssociation for a type named directly (a MIME type), where the desktop
    // associates types: no file of the type is needed. Where it associates extensions, this
    // answers only a type that no extension is registered for, and is Trouble for one that is.
    virtual LookupResult findTypeAssociation(const std::string& type,
                                             const LookupDetail& detail) = 0;

    // Deletes exactly the file `file` names, taken literally.
    virtual Status deleteFile(const std::string& file) = 0;

    // The command line that starts what `commandLine` names inside the user's terminal
    // emulator, for a program whose desktop entry asks for a terminal. Fails, saying why, when
    // no terminal emulator is installed.
    virtual Outcome<std::string> terminalCommandLine(const std::string& commandLine) = 0;

    // Starts the program that `commandLine` names, with this process's environment, current
    // folder and inheritable handles.
    virtual Outcome<ProcessHandle> startProcess(const std::string& commandLine) = 0;

    // Returns once the started program has ended, however long that takes.
    virtual void waitForExit(const ProcessHandle& process) = 0;

    // Releases what the system holds for an ended program.
    virtual void closeProcess(const ProcessHandle& process) = 0;

    // Makes `request.app` the program that opens `request.type` for this user, or with a dry
    // run shows what that would change; the change is recorded so that it can be undone. Where
    // the platform lets no program do this (and by default), Unsupported, saying where the user
    // changes it.
    virtual DefaultChange makeDefault(const DefaultChangeRequest& request);

    // Puts back what the newest recorded change replaced, key by key, and forgets that change;
    // refuses, naming the key, when another program has changed one of its keys since.
    virtual DefaultChange undoLastDefaultChange();

    // Where only the system's own settings may change defaults (makeDefault is Unsupported),
    // opens the settings page where the user chooses them, at `choice`'s registration there
    // where it has one. Fails, saying why; by default: this system has no such page.
    virtual Status openDefaultAppsSettings(const ProgramChoice& choice);
};

// The implementation for the platform this build runs on.
Platform& nativePlatform();

} // namespace qimlar
