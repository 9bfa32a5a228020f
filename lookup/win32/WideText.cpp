#include "win32/WideText.h"

#include <windows.h>

#include <climits>

namespace qimlar::win32 {

std::optional<std::wstring> toWide(std::string_view utf8)
{
    if (utf8.empty())
        return std::wstring();
    if (utf8.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(utf8.size());
    const int length =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(),
                              length) != length)
        return std::nullopt;
    return wide;
}

std::optional<std::string> toUtf8(std::wstring_view utf16)
{
    if (utf16.empty())
        return std::string();
    if (utf16.size() > INT_MAX / 3)
        return std::nullopt;
    const int size = static_cast<int>(utf16.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size,
                                             nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string utf8(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size, utf8.data(),
                              length, nullptr, nullptr) != length)
        return std::nullopt;
    return utf8;
}

std::string utf8Of(std::wstring_view utf16)
{
    return toUtf8(utf16).value_or(std::string());
}

bool equalIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && a.size() <= INT_MAX &&
           ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace qimlar::win32
