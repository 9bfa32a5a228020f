#pragma once

#include <string>
#include <string_view>

namespace qimlar {

// The name the lookup gives its probe file: the created name's folder and its own name up to
// and including the first ".", then the extension exactly as typed. The probe file keeps its
// folder and its unique stem; only what follows the stem's "." is replaced.
std::string probeName(std::string_view createdName, std::string_view extension);

// Whether `extension` can end a file name in the temporary folder here: it must hold no path
// separator (which would move the probe out of the folder), no NUL, and on Windows none of the
// characters the file system refuses.
bool extensionFitsFileName(std::string_view extension);

} // namespace qimlar
