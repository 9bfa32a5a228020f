#include "Console.h"

#include <cstdio>

namespace qimlar::console {

std::vector<std::string> arguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool write(std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

} // namespace qimlar::console
