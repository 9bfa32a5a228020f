#pragma once

#include <string>

namespace qimlar {

// Where a type's registered extension is kept, as an explanation names it: on Windows the type's
// key in the shell's MIME database. Each backend defines it.
std::string typeRegistration(const std::string& type);

} // namespace qimlar
