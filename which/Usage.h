#pragma once

#include <cstdio>

namespace qimlar::which {

// qimlar-which's --help: its forms of call, options, examples and exit statuses.
void printUsage(std::FILE* stream);

} // namespace qimlar::which
