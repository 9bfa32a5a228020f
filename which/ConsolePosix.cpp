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

std::FILE* openForReading(const std::string& file)
{
    return file == "-" ? stdin : std::fopen(file.c_str(), "rb");
}

} // namespace qimlar::console
