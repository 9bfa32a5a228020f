#pragma once

// Making a program the default for a file type, seeing that change before it is made, and
// undoing it. Platform::makeDefault and Platform::undoLastDefaultChange do the work; this header
// holds what they take and give.

#include "lookup/Outcome.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qimlar {

// What a process started now is answered for a type.
struct FreshAnswer
{
    std::string program;                  // as LookupResult::program; empty when nothing opens it
    std::vector<std::string> explanation; // with FreshQuestion::explain, as LookupResult's
};

struct FreshQuestion
{
    std::string type;       // a MIME type
    std::string configHome; // when not empty, read in place of XDG_CONFIG_HOME
    bool explain = false;
};

// Asks as a process started now asks. The desktop's library reads the association lists once per
// process and learns of a change only later, from file monitors: the process that made a change
// cannot ask about it at once and be sure of the answer.
using FreshLookup = std::function<Outcome<FreshAnswer>(const FreshQuestion& question)>;

// A FreshLookup that runs `whichProgram` (qimlar-which) for each question.
FreshLookup freshLookupThrough(std::string whichProgram);

struct DefaultChangeRequest
{
    std::string type; // a MIME type, as LookupResult::type gives it
    // A desktop entry's id (ProgramChoice::id, "mpv.desktop"), or a program's full path as
    // ProgramChoice::program gives it when exactly one of the type's programs has that path.
    std::string app;
    bool dryRun = false;   // show the change and the answer it would bring; write nothing
    FreshLookup askAfresh; // how the answer afterwards is learned; none: it is not asked
};

enum class DefaultChangeStatus {
    Done,        // changed, or in a dry run shown, or it was so already; see answer
    Refused,     // nothing written: an unknown app, a list GLib cannot read, a failed write, ...
    Busy,        // nothing written: another program held a list's lock for the whole wait
    Unsupported, // this system lets no program change its defaults; text says where to
};

// One list a change writes, would write in a dry run, or an undo puts back.
struct ChangedList
{
    std::string path; // as the desktop names it, links not followed
    std::string diff; // the change of its bytes as `diff -u` shows it
    // Each changed key as it reads afterwards, "[Default Applications] audio/mpeg=mpv.desktop;",
    // or as "[Removed Associations] audio/mpeg (taken out)".
    std::vector<std::string> lines;
};

struct DefaultChange
{
    DefaultChangeStatus status = DefaultChangeStatus::Done;
    std::string text;                  // what was done, or why nothing was, to show as it is
    std::vector<std::string> warnings; // what was allowed but is worth saying
    std::string app;                   // the desktop entry's id that the request's app names
    std::string program;               // what a lookup answers for that entry
    std::vector<ChangedList> files;    // empty when nothing is (or would be) written
    std::string previous;              // the answer before the change
    std::optional<std::string> answer; // the answer afterwards, when asked afresh
    // Where the answer afterwards is not the program: the sentence that names the list and line
    // that still decide, as an explanation gives it.
    std::string decision;

    // The change was (or would be) made and the desktop answers the program for the type.
    bool takesEffect() const
    {
        return status == DefaultChangeStatus::Done && answer && *answer == program;
    }
};

} // namespace qimlar
