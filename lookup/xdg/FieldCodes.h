#pragma once

#include <string>

namespace qimlar::xdg {

// The Exec line of a desktop entry as a command line: its field codes (%f, %U, %i, ...) and
// Flatpak's file-forwarding markers (@@, @@u) gone, "%%" as "%", every other byte as it was.
std::string withoutFieldCodes(const std::string& exec);

} // namespace qimlar::xdg
