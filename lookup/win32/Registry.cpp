#include "win32/Registry.h"

namespace qimlar::win32 {

namespace {

// No value or key name is longer than this: the registry's own limit, with its NUL.
constexpr DWORD longestName = 16384;

// Every name an enumeration gives, one index after another, until it says there is no more.
template <typename Enumerate>
std::vector<std::wstring> namesOf(HKEY root, const std::wstring& key, Enumerate enumerate)
{
    std::vector<std::wstring> names;
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return names;
    std::wstring name(longestName, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = longestName;
        const LSTATUS read = enumerate(handle, index, name.data(), &length);
        if (read == ERROR_NO_MORE_ITEMS)
            break;
        if (read == ERROR_SUCCESS && length > 0)
            names.emplace_back(name.data(), length);
    }
    ::RegCloseKey(handle);
    return names;
}

} // namespace

std::wstring readText(HKEY root, const std::wstring& key, const wchar_t* name)
{
    DWORD size = 0;
    if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size < sizeof(wchar_t))
        return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS)
        return {};
    text.resize(::wcsnlen(text.data(), text.size()));
    return text;
}

bool keyExists(HKEY root, const std::wstring& key)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(handle);
    return true;
}

std::vector<std::wstring> valueNames(HKEY root, const std::wstring& key)
{
    return namesOf(root, key, [](HKEY handle, DWORD index, wchar_t* name, DWORD* length) {
        return ::RegEnumValueW(handle, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::wstring> subkeyNames(HKEY root, const std::wstring& key)
{
    return namesOf(root, key, [](HKEY handle, DWORD index, wchar_t* name, DWORD* length) {
        return ::RegEnumKeyExW(handle, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

} // namespace qimlar::win32
