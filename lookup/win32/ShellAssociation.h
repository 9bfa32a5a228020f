#pragma once

#include <string>

namespace qimlar::win32 {

// What the registry says of one class (a ProgID, an application's key, or an extension's own
// key): the command of its default verb and that command's program.
struct ClassCommand
{
    // The class's key (HKEY_CLASSES_ROOT\mp3file).
    std::wstring entry;

    // The class's open command, as the shell reads it.
    std::wstring command;

    // The program of that command, whole however the command quotes it; the shell's answer,
    // which may be a bare name or a file that no longer exists.
    std::wstring program;

    // A packaged (Store) app's ID, when the class belongs to one.
    std::wstring appUserModelId;

    // The name "Open with" shows: the class's FriendlyAppName, or its open verb's.
    std::wstring friendlyName;
};

// `key` is the class's key under HKEY_CLASSES_ROOT: "mp3file", "Applications\\app.exe", ".mp3".
ClassCommand readClass(const std::wstring& key);

// What the registry says of one extension: the class that opens it and why, as Explorer
// decides it. Where the extension names no class, `entry` and `appUserModelId` stay empty, and
// the command is that of the extension's own key.
struct ShellAssociation : ClassCommand
{
    // Whether anything at all registers the extension.
    bool registered = false;

    // The class (ProgID) that opens such files, and the key that named it: the user's choice
    // in Explorer, or the extension's own key among the classes.
    std::wstring progId;
    std::wstring decidedBy;

    // The user's choice that was looked for first, whether or not it is there.
    std::wstring userChoice;

    // The extension's "Content Type" (audio/mpeg) and "PerceivedType" (audio, text...), as its
    // key among the classes gives them.
    std::wstring contentType;
    std::wstring perceivedType;
};

// The extension of `file` as the shell reads it, from its own name's last "." on (".a b"
// included); empty when its name has no ".".
std::wstring extensionOf(const std::wstring& file);

ShellAssociation readAssociation(const std::wstring& extension);

// The extension registered for a MIME type (HKEY_CLASSES_ROOT\MIME\Database\Content Type\TYPE's
// Extension: ".mp3" for audio/mpeg); empty when none is.
std::wstring extensionOfContentType(const std::wstring& type);

} // namespace qimlar::win32
