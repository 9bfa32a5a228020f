#pragma once

// Files as Windows names them, shared by the lookup and the launcher, and the probe's own
// operations: the temporary folder, a new unique file, renaming and deleting it.

#include "lookup/Outcome.h"

#include <windows.h>

#include <array>
#include <cwchar>
#include <string>

namespace qimlar::win32 {

// Every buffer a Windows function fills starts as MAX_PATH NULs; its value is its text up to
// the first NUL, so a function that writes nothing leaves an empty text.
using PathBuffer = std::array<wchar_t, MAX_PATH>;

inline std::wstring textOf(const PathBuffer& buffer)
{
    return std::wstring(buffer.data(), ::wcsnlen(buffer.data(), buffer.size()));
}

// `path` as Windows reads it: made absolute, with the trailing dots and spaces of its last name
// gone, as they are from every file it makes. `path` itself when that fails.
std::wstring fullPath(const std::wstring& path);

// Whether `path` is already a full path: no folder to be added, nothing to be trimmed.
bool isFullPath(const std::wstring& path);

bool namesExistingFile(const std::wstring& path);

// Whether `name` says where its file is (a folder or a drive), rather than being a bare name
// that Windows looks for.
bool isPath(const std::wstring& name);

// The full path of the program a bare name such as notepad.exe names, found where Windows
// starts programs from (the program's folder, the current folder, the system folders, PATH),
// ".exe" added when it has no extension; empty when there is none.
std::wstring programOnSearchPath(const std::wstring& name);

// What Platform's operations of the same names do, with UTF-8 names.
Outcome<std::string> tempFolder();
Outcome<std::string> createUniqueFile(const std::string& folder, const std::string& prefix);
Status renameNoReplace(const std::string& from, const std::string& to);
Status deleteFile(const std::string& file);

} // namespace qimlar::win32
