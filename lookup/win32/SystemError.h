#pragma once

#include "lookup/Outcome.h"

#include <string>

namespace qimlar::win32 {

// "what failed: the system's reason", with Windows' own words for the calling thread's last
// error.
Failure failed(const std::string& what);

} // namespace qimlar::win32
