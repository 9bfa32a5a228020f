#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qimlar {

// The name the lookup gives its probe file: the created name's folder and its own name up to
// and including the first ".", then the extension exactly as typed. The probe file keeps its
// folder and its unique stem; only what follows the stem's "." is replaced.
std::string probeName(std::string_view createdName, std::string_view extension);

// probeName's name where it fits the file system's limits: a file name of 255 bytes (on Windows
// 255 UTF-16 characters, and a whole path shorter than MAX_PATH). Where it would not, the stem is
// cut short, down to the fewest of its characters that still keep it unique enough; nothing
// where even that leaves too little room for the extension.
std::optional<std::string> probeNameWithin(std::string_view createdName,
                                           std::string_view extension);

// The probe's name with its stem drawn afresh, but for its first character (the prefix "~"): as
// long as before, of random letters and digits, so that nobody can have planted a file there.
std::string withFreshStem(std::string_view probe);

// Whether `extension` can end a file name in the temporary folder here: it must hold no path
// separator (which would move the probe out of the folder), no NUL, and on Windows none of the
// characters the file system refuses.
bool extensionFitsFileName(std::string_view extension);

} // namespace qimlar
