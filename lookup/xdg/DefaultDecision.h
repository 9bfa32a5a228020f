#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

// The line that made a desktop entry the default program for a type: a line of an association
// list, or the entry's own MimeType line.
struct Decision
{
    std::string file;  // the mimeapps.list, defaults.list or mimeinfo.cache, or the entry itself
    std::string group; // what in it: "Default Applications", "Added Associations",
                       // "MIME Cache" or the entry's "MimeType"
    std::string type;  // the type it names the entry for: the asked type or one of its parents
    bool throughParent = false; // `type` is one the asked type is a kind of

    // Whether no list named the entry, and its own MimeType line decided.
    bool byEntry() const { return group == "MimeType"; }
    // The file, and the parent type when it decided through one.
    std::string describe() const;
};

// What an association list the walk passed over says of the type it was at, in one group.
struct PassedList
{
    std::string file;
    std::string group;
    std::string type;                   // the asked type or the parent the walk was at
    int round = 0;                      // each type's defaults, then its other associations
    std::optional<std::string> line;    // the value of the type's line, where there is one
    std::vector<std::string> installed; // the installed entries the line names
};

// The walk through the association lists, for those who ask why: how many lists were looked
// for and read, what each passed over said, and where it ended.
struct DecisionWalk
{
    std::string type;
    std::string desktopId; // empty for a walk that looked for no entry
    std::size_t listsLookedFor = 0;
    std::size_t listsRead = 0;
    std::vector<PassedList> passed;
    std::optional<Decision> decision;
    std::string decidingLine; // the value of the list's line that decided
    int decidingRound = -1;   // the round of the passed lists in which it decided
};

// Which association list and line (or else the entry's own MimeType line) decides that
// `desktopId` opens `type`, walking the files GIO reads in its order: for the type and then
// each of its parents, nearest first, every file's [Default Applications] before the
// associations mimeapps.list adds and mimeinfo.cache registers. Nothing when no file names it.
// Reads only what changed since the last lookup.
std::optional<Decision> findDecision(const std::string& type, const std::string& desktopId,
                                     const std::string& entryFile);

// The same decision with the walk to it: every list is read for what it says of each type the
// walk passes, and whether the entries it names are installed.
DecisionWalk walkToDecision(const std::string& type, const std::string& desktopId,
                            const std::string& entryFile);

// What every association list says of `type` itself, for a type no installed entry opens.
DecisionWalk walkThroughLists(const std::string& type);

} // namespace qimlar::xdg
