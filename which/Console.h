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

// Reads what `stream` holds for the taking, up to `size` bytes, waiting only when it holds
// nothing yet: the number of bytes, 0 at the end, -1 (errno set) when it cannot be read. The
// stream's own buffer is not used: a query on a pipe is answered as soon as its line arrives.
long readSome(std::FILE* stream, char* buffer, std::size_t size);

// Whether a read from `stream` would return at once (bytes or the end are there).
bool readyToRead(std::FILE* stream);

// The probe file that a lookup session keeps in the temporary folder, recorded so that the
// process, when ended from outside, deletes it first: on POSIX systems by SIGINT, SIGTERM,
// SIGHUP and every other signal whose default action ends the process, which then end it as
// they would have; on Windows by Ctrl-C, Ctrl-Break or the console's closing. While a ProbeChange
// lives, that ending waits, so that the file and its record change together. While a probe is
// recorded, a closed pipe on standard output makes writes fail (EPIPE) rather than end the process
// with the probe left behind.
class ProbeChange
{
public:
    ProbeChange();
    ~ProbeChange();
    ProbeChange(const ProbeChange&) = delete;
    ProbeChange& operator=(const ProbeChange&) = delete;

    // `probe` is now the probe's full name; empty when there is none.
    void record(const std::string& probe);
};

} // namespace qimlar::console
