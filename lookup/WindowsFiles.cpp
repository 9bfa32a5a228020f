#include "WindowsFiles.h"

namespace qimlar {

std::wstring fullPath(const std::wstring& path)
{
    PathBuffer buffer{};
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, buffer.data(), nullptr);
    return length > 0 && length < MAX_PATH ? textOf(buffer) : path;
}

bool isFullPath(const std::wstring& path)
{
    return !path.empty() && fullPath(path) == path;
}

bool namesExistingFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isPath(const std::wstring& name)
{
    return name.find_first_of(L"\\/:") != std::wstring::npos;
}

std::wstring programOnSearchPath(const std::wstring& name)
{
    if (name.empty())
        return {};
    PathBuffer buffer{};
    const DWORD length =
        ::SearchPathW(nullptr, name.c_str(), L".exe", MAX_PATH, buffer.data(), nullptr);
    if (length == 0 || length >= MAX_PATH || !namesExistingFile(textOf(buffer)))
        return {};
    return textOf(buffer);
}

} // namespace qimlar
