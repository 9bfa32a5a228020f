#pragma once

#include <string>

namespace qimlar {

// Where a type's registered extension is kept, as an explanation names it: on Windows the
// type's key in the shell's MIME database.
inline std::string typeRegistration(const std::string& type)
{
#ifdef _WIN32
    return "HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\" + type;
#else
    return "The type " + type;
#endif
}

} // namespace qimlar
