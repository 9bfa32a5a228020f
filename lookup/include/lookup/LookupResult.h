#pragma once

#include <string>
#include <vector>

namespace qimlar {

enum class LookupStatus {
    Found,       // a program opens such files
    UnknownType, // the desktop knows no type for such a name
    NoProgram,   // a known type that nothing opens
    Trouble,     // the lookup itself failed: no temporary folder, no probe, ...
};

// How a program came to be among those that can open a type.
enum class ProgramRelation {
    Default,    // the desktop's default for the type
    Registered, // registered for the type itself
    ParentType, // registered for a type the type is a kind of (or, on Windows, its kind of file)
};

// One program that can open a type, as the "open with" lists show it.
struct ProgramChoice
{
    // As LookupResult::program: the full path, or the command line that starts the
    // application; empty when its program is not installed.
    std::string program;
    std::string command; // its command line, without field codes
    std::string entry;   // its desktop entry's file; on Windows its registry key
    ProgramRelation relation = ProgramRelation::Registered;
    std::string
        id; // its desktop entry's id ("mpv.desktop"), as makeDefault takes it; on Windows empty
    // The name menus show it by: the entry's Name in the user's language (Name[ar] under an
    // Arabic locale), on Windows the registry's FriendlyAppName; empty when none is given.
    std::string name;
    // Its icon as the entry gives it: an icon theme's name ("vlc") or an image file's full
    // path; on Windows the program file, whose own icon it is. Empty when there is none.
    std::string icon;
    bool terminal = false; // whether it runs in a terminal, as its desktop entry says
};

// What a lookup gathers beyond the answer, for those who ask: it costs more time.
struct LookupDetail
{
    bool everyProgram = false; // fill LookupResult::programs
    bool explanation = false;  // fill LookupResult::explanation
};

// What the lookup found for one extension, and why. Texts are the platform's file-name bytes,
// as the Platform interface says; a field that does not apply stays empty.
struct LookupResult
{
    LookupStatus status = LookupStatus::NoProgram;

    // The answer: the full path of the program, or, where the desktop starts it through a
    // wrapper that has no program file of its own, the command line that starts it. Empty
    // unless the status is Found.
    std::string program;

    // The registered command line, without its field codes (%f, %U, ...).
    std::string command;

    // The file's type: the MIME type on freedesktop systems.
    std::string type;

    // The desktop entry's file; on Windows the ProgID's registry key.
    std::string entry;

    // On Windows, the ProgID (the class the extension's association names).
    std::string progId;

    // The file or registry key that made this program the default: the mimeapps.list or
    // mimeinfo.cache that named it, the user's choice, ...
    std::string decidedBy;

    // Whether the program runs in a terminal, as the desktop entry says.
    bool terminal = false;

    // For Trouble, what failed and the system's reason; otherwise, where there is one, why
    // nothing was found.
    std::string reason;

    // With LookupDetail::everyProgram: every program that can open the type, in the desktop's
    // own order: the default first, then those registered for the type, then for its parents.
    std::vector<ProgramChoice> programs;

    // With LookupDetail::explanation: how the answer was reached, in plain English sentences,
    // one step each, in the order the lookup took them.
    std::vector<std::string> explanation;
};

} // namespace qimlar
