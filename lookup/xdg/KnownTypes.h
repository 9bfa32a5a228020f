#pragma once

#include <string>

namespace qimlar::xdg {

// Whether a shared MIME database knows `type`, as a type of its own or as another name of one.
// The databases' lists are read again only once one of them has changed, come or gone.
bool isKnownType(const std::string& type);

} // namespace qimlar::xdg
