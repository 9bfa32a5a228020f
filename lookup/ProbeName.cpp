#include "ProbeName.h"

#include <algorithm>
#include <cstddef>
#include <random>

namespace qimlar {

namespace {

#ifdef _WIN32
constexpr std::string_view separators = "\\/";
constexpr std::string_view refusedByFileSystem = "\\/:*?\"<>|";
// A path without the "\\?\" prefix stays below MAX_PATH, its NUL included.
constexpr std::size_t longestPath = 259;
// GetTempFileNameW's stem ("~" and at most four hexadecimal digits) is short already: it stays
// whole.
constexpr std::size_t shortestStem = 255;
#else
constexpr std::string_view separators = "/";
constexpr std::string_view refusedByFileSystem = "/";
// "~" and eight random letters: 40 bits, still more than enough for one folder's probes.
constexpr std::size_t shortestStem = 9;
#endif
constexpr std::size_t longestName = 255;

// How long the file system counts `text`: bytes, or on Windows UTF-16 units of its UTF-8.
std::size_t lengthOf(std::string_view text)
{
#ifdef _WIN32
    return static_cast<std::size_t>(std::count_if(
               text.begin(), text.end(),
               [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })) +
           static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
               return static_cast<unsigned char>(c) >= 0xF0; // a surrogate pair
           }));
#else
    return text.size();
#endif
}

std::size_t ownNameStart(std::string_view name)
{
    const auto separator = name.find_last_of(separators);
    return separator == std::string_view::npos ? 0 : separator + 1;
}

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
    const auto dot = createdName.find('.', ownNameStart(createdName));
    const auto stemEnd = dot == std::string_view::npos ? createdName.size() : dot + 1;

    std::string name(createdName.substr(0, stemEnd));
    if (dot == std::string_view::npos)
        name += '.';
    name += extension;
    return name;
}

std::optional<std::string> probeNameWithin(std::string_view createdName, std::string_view extension)
{
    std::string name = probeName(createdName, extension);
    const std::size_t stemStart = ownNameStart(createdName);
    const std::size_t stemEnd = name.find('.', stemStart);
    const std::size_t stem = stemEnd - stemStart;
    const std::size_t rest = lengthOf(std::string_view(name).substr(stemEnd)); // ".EXTENSION"
    std::size_t room = longestName > rest ? longestName - rest : 0;
#ifdef _WIN32
    const std::size_t folder = lengthOf(std::string_view(name).substr(0, stemStart));
    room = std::min(room, longestPath > folder + rest ? longestPath - folder - rest : 0);
#endif
    if (room >= stem)
        return name;
    if (room < std::min(stem, shortestStem))
        return std::nullopt;
    name.erase(stemStart + room, stem - room);
    return name;
}

std::string withFreshStem(std::string_view probe)
{
    static constexpr std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz234567";
    std::string name(probe);
    const std::size_t stemStart = ownNameStart(name);
    const std::size_t stemEnd = std::min(name.find('.', stemStart), name.size());
    std::random_device source;
    for (std::size_t at = stemStart + 1; at < stemEnd; ++at)
        name[at] = alphabet[source() % alphabet.size()];
    return name;
}

bool extensionFitsFileName(std::string_view extension)
{
    return std::none_of(extension.begin(), extension.end(), [](char c) {
        return isControlCharacter(c) || refusedByFileSystem.find(c) != std::string_view::npos;
    });
}

} // namespace qimlar
