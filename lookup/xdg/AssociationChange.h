#pragma once

// Making a program the default for a type in one association list, as the freedesktop rules for
// mimeapps.list have it, and taking that back: pure functions from text to text that say which
// keys they changed, so that the change can be shown, recorded and undone key by key.

#include "lookup/Outcome.h"
#include "xdg/AssociationLists.h" // the groups' names

#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

// What a list may hold: $XDG_CONFIG_HOME/mimeapps.list all three groups, a desktop's own
// $desktop-mimeapps.list the defaults only.
enum class ListKind { Associations, DefaultsOnly };

// One key a change set, added or took out.
struct KeyChange
{
    std::string group, key;
    std::optional<std::string> before, after; // the values as written; none where absent
    std::optional<std::string> beforeLine;    // the whole line it replaced or took out
    std::optional<std::string> keyBefore;     // the key that line followed ("" when first)
    bool groupAdded = false;                  // its group was not there before
};

struct ListEdit
{
    std::string text;
    std::vector<KeyChange> changes; // empty when the list says so already
};

struct DefaultRequest
{
    std::string type; // "audio/mpeg"
    std::string app;  // a desktop file's name, "mpv.desktop"
    // The entry's own MimeType line names the type, so it needs no added association.
    bool entryListsType = false;
};

// [Default Applications] gets TYPE=APP; before the programs it named already; in a full list APP
// is added to [Added Associations] when not associated yet, and taken out of [Removed
// Associations]. Fails on a type or a program name that could not be written as a key or a list
// item unchanged. `text` should have passed checkReadable().
Outcome<ListEdit> makeDefault(const std::string& text, const DefaultRequest& request,
                              ListKind kind);

// The first of the changes whose key does not hold in `text` what the change left there.
std::optional<KeyChange> changedSince(const std::string& text,
                                      const std::vector<KeyChange>& changes);

// Puts back what the changes replaced, newest first, and takes out the groups they added once
// empty. Where nothing else changed, this gives back the bytes from before.
std::string revert(const std::string& text, const std::vector<KeyChange>& changes);

} // namespace qimlar::xdg
