#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

// Where a desktop entry became the default program for a type.
struct Decision
{
    std::string file;  // the mimeapps.list, defaults.list or mimeinfo.cache, or the entry itself
    std::string group; // what in it: "Default Applications", "Added Associations",
                       // "MIME Cache" or the entry's "MimeType"
    std::string type;  // the type it names the entry for: the asked type or one of its parents

    // The file, and the parent type when it decided through one.
    std::string describe(const std::string& askedType) const;
};

// Walks the files GIO reads for `type`, in its order, to the first that names `desktopId`:
// for the type and then each of its parents, first every [Default Applications] list (in
// XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME/applications and XDG_DATA_DIRS/applications,
// in each the lists of the desktops in XDG_CURRENT_DESKTOP before mimeapps.list), then the
// associations that mimeapps.list adds and mimeinfo.cache registers. Failing all, the entry's
// own MimeType line. Nothing when no file names it.
// With `trace`, adds a sentence for what each file said on the way: the line that decided, or
// why none did. An empty `desktopId` walks every file for what they say of the type.
std::optional<Decision> findDecision(const std::string& type, const std::string& desktopId,
                                     const std::string& entryFile,
                                     std::vector<std::string>* trace = nullptr);

} // namespace qimlar::xdg
