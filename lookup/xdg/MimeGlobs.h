#pragma once

#include <string>

namespace qimlar::xdg {

// How the shared MIME databases' glob files (globs2, in XDG_DATA_HOME/mime and then each
// XDG_DATA_DIRS/mime, as GIO reads them) give `type` to a file named `name`, as a sentence:
// the line that matched, with its weight and file; for an unknown type, that no glob matches
// and which databases were read.
std::string explainType(const std::string& name, const std::string& type, bool unknown);

// Whether a shared MIME database knows `type`, as a type of its own or as another name of one.
bool isKnownType(const std::string& type);

} // namespace qimlar::xdg
