#pragma once

// Reading the registry: texts, and the names a key holds.

#include <windows.h>

#include <string>
#include <vector>

namespace qimlar::win32 {

// A text value (nullptr names the key's default value); empty when there is none.
std::wstring readText(HKEY root, const std::wstring& key, const wchar_t* name);

bool keyExists(HKEY root, const std::wstring& key);

// The names of the values `key` holds, in the registry's order; the default value is left out.
std::vector<std::wstring> valueNames(HKEY root, const std::wstring& key);

// The names of the keys right under `key`, in the registry's order.
std::vector<std::wstring> subkeyNames(HKEY root, const std::wstring& key);

} // namespace qimlar::win32
