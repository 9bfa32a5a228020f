#include "win32/CommandLine.h"

#include "win32/Files.h"

namespace qimlar::win32 {

namespace {

constexpr const wchar_t* blanks = L" \t";

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// The program a leading part of a command line names, as Windows would start it: a path of a
// file, or of one with ".exe" added when its name has none; a bare name where Windows looks for
// programs. Empty when it names none.
std::wstring programNamedBy(const std::wstring& part)
{
    if (!isPath(part))
        return programOnSearchPath(part);
    if (namesExistingFile(part))
        return part;
    const auto ownName = part.find_last_of(L"\\/:");
    if (part.find(L'.', ownName) == std::wstring::npos && namesExistingFile(part + L".exe"))
        return part + L".exe";
    return {};
}

} // namespace

ProcessCommand processCommand(const std::wstring& text)
{
    const bool quoted = !text.empty() && text.front() == L'"';
    if (quoted || text.find_first_of(blanks) == std::wstring::npos) {
        if (!quoted && isPath(text) && namesExistingFile(text))
            return {text, L"\"" + text + L"\""};
        return {{}, text};
    }
    // From the whole text down to its first word, each part ending before a blank.
    for (auto end = text.size();;) {
        const std::wstring part = text.substr(0, end);
        if (!part.empty() && !isBlank(part.back())) {
            if (const std::wstring program = programNamedBy(part); !program.empty())
                return {program, L"\"" + part + L"\"" + text.substr(end)};
        }
        if (end == 0 || (end = text.find_last_of(blanks, end - 1)) == std::wstring::npos)
            break;
    }
    return {{}, text};
}

} // namespace qimlar::win32
