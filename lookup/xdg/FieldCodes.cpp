#include "xdg/FieldCodes.h"

#include <algorithm>
#include <string_view>

namespace qimlar::xdg {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// The end of the word that starts at `start`: its quotes and backslashes as a shell reads them.
std::size_t wordEnd(const std::string& text, std::size_t start)
{
    std::size_t i = start;
    while (i < text.size() && !isBlank(text[i])) {
        const char c = text[i++];
        if (c == '\\') {
            ++i;
        } else if (c == '\'') {
            const auto close = text.find('\'', i);
            i = close == std::string::npos ? text.size() : close + 1;
        } else if (c == '"') {
            while (i < text.size() && text[i] != '"')
                i += text[i] == '\\' ? 2 : 1;
            ++i;
        }
    }
    return std::min(i, text.size());
}

// A word with its field codes gone, as GIO expands them when it has nothing to pass.
std::string withoutCodes(std::string_view word)
{
    std::string result;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%')
            result += word[i];
        else if (++i < word.size() && word[i] == '%')
            result += '%';
    }
    return result;
}

} // namespace

std::string withoutFieldCodes(const std::string& exec)
{
    std::string result;
    std::size_t i = 0;
    while (i < exec.size()) {
        const std::size_t blankStart = i;
        while (i < exec.size() && isBlank(exec[i]))
            ++i;
        if (i == exec.size())
            break;
        const std::size_t end = wordEnd(exec, i);
        const std::string_view word(exec.data() + i, end - i);
        const std::string kept = withoutCodes(word);
        // A word of codes alone stands for arguments that are not there; @@ and @@u mark where
        // Flatpak forwards files.
        const bool dropped = (kept.empty() && !word.empty()) || word == "@@" || word == "@@u";
        if (!dropped) {
            if (!result.empty())
                result.append(exec, blankStart, i - blankStart);
            result += kept;
        }
        i = end;
    }
    return result;
}

} // namespace qimlar::xdg
