#pragma once

// qimlar-which --set-default and --undo.

namespace qimlar {
class Platform;
}

namespace qimlar::which {

struct Options;

// Makes options.app the default for each query, or with --dry-run shows how; the exit status:
// 0 when every query now answers the app's program, 1 when the desktop still answers another
// for one, 2 when nothing was written for one (the cause on standard error).
int setDefault(const Options& options, Platform& platform);

// Undoes the newest recorded change and says what it put back: 0, or 2 saying why not.
int undoLastChange(Platform& platform);

} // namespace qimlar::which
