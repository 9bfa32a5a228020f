#include "Console.h"
#include "WideText.h"

#include <windows.h>

#include <cstdio>
#include <shellapi.h>

namespace qimlar::console {

std::vector<std::string> arguments(int, char*[])
{
    std::vector<std::string> result;
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!words)
        return result;
    // A word that is no valid UTF-16 (a lone surrogate) stays a word, as U+FFFD, rather than
    // becoming the empty extension.
    for (int i = 1; i < count; ++i)
        result.push_back(toUtf8(words[i]).value_or("\xEF\xBF\xBD"));
    ::LocalFree(words);
    return result;
}

bool write(std::string_view text)
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    const auto wide = ::GetConsoleMode(output, &mode) ? toWide(text) : std::nullopt;
    if (!wide)
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();

    // A console shows characters, not bytes: UTF-8 would come out as the ANSI code page's
    // letters.
    if (std::fflush(stdout) != 0)
        return false;
    std::wstring_view rest = *wide;
    while (!rest.empty()) {
        DWORD written = 0;
        if (!::WriteConsoleW(output, rest.data(), static_cast<DWORD>(rest.size()), &written,
                             nullptr) ||
            written == 0)
            return false;
        rest.remove_prefix(written);
    }
    return true;
}

} // namespace qimlar::console
