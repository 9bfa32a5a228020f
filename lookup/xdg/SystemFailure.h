#pragma once

#include "lookup/Outcome.h"

#include <cstring>
#include <string>

namespace qimlar::xdg {

// "what failed: the system's reason", as GLib words it.
inline Failure systemFailure(const std::string& what, int error)
{
    return Failure{what + ": " + std::strerror(error)};
}

} // namespace qimlar::xdg
