#include "ProbeName.h"

#include <algorithm>

namespace qimlar {

namespace {

#ifdef _WIN32
constexpr std::string_view separators = "\\/";
constexpr std::string_view refusedByFileSystem = "\\/:*?\"<>|";
#else
constexpr std::string_view separators = "/";
constexpr std::string_view refusedByFileSystem = "/";
#endif

bool isControlCharacter(char c)
{
#ifdef _WIN32
    return static_cast<unsigned char>(c) < 0x20;
#else
    return c == '\0';
#endif
}

} // namespace

std::string probeName(std::string_view createdName, std::string_view extension)
{
    const auto separator = createdName.find_last_of(separators);
    const auto ownNameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const auto dot = createdName.find('.', ownNameStart);
    const auto stemEnd = dot == std::string_view::npos ? createdName.size() : dot + 1;

    std::string name(createdName.substr(0, stemEnd));
    if (dot == std::string_view::npos)
        name += '.';
    name += extension;
    return name;
}

bool extensionFitsFileName(std::string_view extension)
{
    return std::none_of(extension.begin(), extension.end(), [](char c) {
        return isControlCharacter(c) || refusedByFileSystem.find(c) != std::string_view::npos;
    });
}

} // namespace qimlar
