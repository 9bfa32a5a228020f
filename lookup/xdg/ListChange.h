#pragma once

// Making a program the default for a type across the user's association lists, and undoing the
// last such change: each list locked, read again and checked, changed, written atomically, and
// the change recorded, or with a dry run only shown.

#include "xdg/AssociationChange.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

struct ListToChange
{
    std::string path;
    ListKind kind;
};

// XDG_CONFIG_HOME, read at each call: GLib's g_get_user_config_dir() keeps its first answer.
std::string configHome();

// The names of the lists GIO reads in configHome(): each $desktop-mimeapps.list of a desktop in
// XDG_CURRENT_DESKTOP, in its order, then mimeapps.list.
std::vector<std::string> configHomeListNames();

// $XDG_CONFIG_HOME/mimeapps.list, after each $XDG_CONFIG_HOME/$desktop-mimeapps.list of a
// desktop in XDG_CURRENT_DESKTOP whose defaults name the type, since that list ranks above it.
std::vector<ListToChange> listsToChange(const std::string& type);

enum class ChangeStatus {
    Done,    // changed (or, in a dry run, shown), or nothing to change
    Refused, // a list or the record could not be read or written, or the undo found a key changed
    Busy,    // a lock stayed held for the whole wait
};

// One list a change wrote, would write in a dry run, or an undo put back.
struct ListOutcome
{
    std::string path;                 // as the list was named, its links not followed
    std::string diff;                 // unifiedDiff() of the list's bytes
    std::optional<std::string> after; // the bytes it holds afterwards; none once removed
    std::vector<KeyChange> keys;      // as recorded: `before` is what an undo puts back
};

struct ChangeReport
{
    ChangeStatus status = ChangeStatus::Done;
    // What was done, the diff of a dry run, or why nothing was.
    std::string text;
    std::vector<ListOutcome> files;
};

struct ChangeOptions
{
    bool dryRun = false;
    std::string recordFolder; // recordFolder() unless a test says otherwise
    std::chrono::milliseconds lockWait{10000};
};

// Nothing is written unless every list could be changed; a list written before one that fails
// is put back.
ChangeReport makeDefault(const std::vector<ListToChange>& lists, const DefaultRequest& request,
                         const ChangeOptions& options);

// Puts back, key by key, what the newest recorded change replaced, and forgets that change;
// refuses, naming the list and the key, when another program has changed one of its keys since.
ChangeReport undoLastChange(const ChangeOptions& options);

} // namespace qimlar::xdg
