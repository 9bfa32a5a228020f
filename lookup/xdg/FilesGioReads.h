#pragma once

// GIO opens the association lists and the desktop entries they name with a plain open(), which
// waits for ever on a named pipe, and cannot be told to skip a file. So what it will open is
// looked at first, with stat() alone.

#include "lookup/Outcome.h"

namespace qimlar::xdg {

// Fails, naming the file, where an association list, or a desktop entry that one names, is
// neither missing, a plain file nor a folder (which GIO reads as nothing): a named pipe, a
// device, a socket.
Status checkFilesGioReads();

} // namespace qimlar::xdg
