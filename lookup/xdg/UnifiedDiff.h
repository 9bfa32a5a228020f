#pragma once

// What a change would do to a file, shown the way `diff -u` shows it, so that a dry run can be
// read by anyone who reads patches, and applied with `patch` if they like.

#include <optional>
#include <string>

namespace qimlar::xdg {

// The unified diff from `before` to `after` of the file at `path`, with three lines of context;
// empty when they are the same. A file that did not exist yet (`before` absent) is shown as git
// shows it, coming from /dev/null: "--- /dev/null", "+++ PATH", "@@ -0,0 +1,N @@".
std::string unifiedDiff(const std::optional<std::string>& before, const std::string& after,
                        const std::string& path);

} // namespace qimlar::xdg
