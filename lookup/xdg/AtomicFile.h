#pragma once

// Replacing a user's file so that a crash, a full disk or a power cut at any moment leaves either
// the old file or the new one, never a mix: the new bytes go to a file of their own in the same
// folder, reach the disk, and are then renamed over the old one.

#include "lookup/Outcome.h"

#include <optional>
#include <string>

namespace qimlar::xdg {

// The file that `path` names once its symbolic links are followed; it need not exist yet.
Outcome<std::string> linkTarget(const std::string& path);

// The file's bytes; none when there is no such file.
Outcome<std::optional<std::string>> readIfPresent(const std::string& path);

// Makes the folder and those above it that are missing, with mode 0700 as the XDG rules ask.
Status makeFolders(const std::string& folder);

// Puts `bytes` in place of the file at the end of `path`'s links (the links stay), keeping its
// mode and, where permitted, its owner; a new file gets mode 0644 less the umask and its folder
// is made. The temporary file never stays behind. Failures name the file and the system's reason.
Status replaceFile(const std::string& path, const std::string& bytes);

// Removes the file at the end of `path`'s links, for good.
Status removeFile(const std::string& path);

} // namespace qimlar::xdg
