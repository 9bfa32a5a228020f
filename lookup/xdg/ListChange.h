#pragma once

// Making a program the default for a type across the user's association lists, and undoing the
// last such change: each list locked, read again and checked, changed, written atomically, and
// the change recorded, or with a dry run only shown.

#include "xdg/AssociationChange.h"

#include <chrono>
#include <string>
#include <vector>

namespace qimlar::xdg {

struct ListFile
{
    std::string path;
    ListKind kind;
};

// $XDG_CONFIG_HOME/mimeapps.list, after each $XDG_CONFIG_HOME/$desktop-mimeapps.list of a
// desktop in XDG_CURRENT_DESKTOP whose defaults name the type, since that list ranks above it.
std::vector<ListFile> listsToChange(const std::string& type);

enum class ChangeStatus {
    Done,    // changed (or, in a dry run, shown), or nothing to change
    Refused, // a list or the record could not be read or written, or the undo found a key changed
    Busy,    // a lock stayed held for the whole wait
};

struct ChangeReport
{
    ChangeStatus status = ChangeStatus::Done;
    // What was done, the diff of a dry run, or why nothing was.
    std::string text;
};

struct ChangeOptions
{
    bool dryRun = false;
    std::string recordFolder; // recordFolder() unless a test says otherwise
    std::chrono::milliseconds lockWait{10000};
};

// Nothing is written unless every list could be changed; a list written before one that fails
// is put back.
ChangeReport makeDefault(const std::vector<ListFile>& lists, const DefaultRequest& request,
                         const ChangeOptions& options);

// Puts back, key by key, what the newest recorded change replaced, and forgets that change;
// refuses, naming the list and the key, when another program has changed one of its keys since.
ChangeReport undoLastChange(const ChangeOptions& options);

} // namespace qimlar::xdg
