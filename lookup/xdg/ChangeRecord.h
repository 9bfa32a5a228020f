#pragma once

// The record of the changes Qimlar made to association lists, newest last, so that each can be
// undone in turn: one file per change in $XDG_STATE_HOME/qimlar/, holding for each list it
// changed every key with its value and line before and its value after.

#include "lookup/Outcome.h"
#include "xdg/AssociationChange.h"

#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

struct ListFileChange
{
    std::string path;
    bool created = false; // the list did not exist before the change
    std::vector<KeyChange> keys;
};

struct RecordedChange
{
    std::string time; // ISO 8601, UTC
    std::vector<ListFileChange> files;
};

// $XDG_STATE_HOME/qimlar when XDG_STATE_HOME is an absolute path, else ~/.local/state/qimlar.
std::string recordFolder();

// The record in one folder. Its users hold lockPath() (a ListLock) around every use, so that two
// processes never number two changes alike or undo one twice.
class ChangeRecord
{
public:
    explicit ChangeRecord(std::string folder);

    std::string lockPath() const;
    // Adds the change as the newest, made the folder if missing.
    Status append(const RecordedChange& change) const;
    // The newest change; none when the record is empty.
    Outcome<std::optional<RecordedChange>> newest() const;
    // Forgets the newest change, once it is undone.
    Status dropNewest() const;

private:
    Outcome<std::optional<std::string>> newestFile() const;

    std::string folder_;
};

} // namespace qimlar::xdg
