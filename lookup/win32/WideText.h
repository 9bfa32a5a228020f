#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qimlar::win32 {

// Windows speaks UTF-16; the rest of Qimlar speaks UTF-8. Text that is not valid in its own
// encoding (broken UTF-8, a lone surrogate) has no counterpart: nothing comes back, so it can
// never turn into some other name.
std::optional<std::wstring> toWide(std::string_view utf8);
std::optional<std::string> toUtf8(std::wstring_view utf16);

// The UTF-8 of a text for a message or a result: empty when it has none.
std::string utf8Of(std::wstring_view utf16);

// Whether two names are the same to Windows' file system, which ignores case.
bool equalIgnoringCase(std::wstring_view a, std::wstring_view b);

} // namespace qimlar::win32
