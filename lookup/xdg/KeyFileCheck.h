#pragma once

// Whether GLib itself can read a list: a list it cannot read is not ours to rewrite, for what
// GIO makes of it after a change could not be foreseen.

#include "lookup/Outcome.h"

#include <string>

namespace qimlar::xdg {

// Fails with GLib's own reason, naming `path`, where g_key_file_load_from_data fails; also on a
// NUL byte, where GLib would quietly read a line only up to it.
Status checkReadable(const std::string& text, const std::string& path);

} // namespace qimlar::xdg
