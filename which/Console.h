#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The terminal's side of qimlar-which, which differs between systems.
namespace qimlar::console {

// The arguments after the program's name: UTF-8 on Windows, read from the wide command line
// (its ANSI argv would turn letters outside the code page into "?"); elsewhere the bytes given.
std::vector<std::string> arguments(int argc, char* argv[]);

// Writes UTF-8 `text` to standard output: a Windows console gets its characters, anything else
// (a pipe, a file, a POSIX terminal) the bytes. False when it could not be written.
bool write(std::string_view text);

// Opens `file` (UTF-8 on Windows, the bytes given elsewhere) to read its bytes as they are;
// "-" is standard input. Null, with errno set, when it cannot be opened.
std::FILE* openForReading(const std::string& file);

} // namespace qimlar::console
