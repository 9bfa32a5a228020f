#include "win32/Files.h"

#include "win32/SystemError.h"
#include "win32/WideText.h"

namespace qimlar::win32 {

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

Outcome<std::string> tempFolder()
{
    PathBuffer buffer{};
    const DWORD length = ::GetTempPathW(MAX_PATH, buffer.data());
    if (length == 0)
        return failed("cannot find the temporary folder");
    // A length past the buffer is the size the folder would need: it did not fit.
    if (length >= MAX_PATH)
        return Failure{"cannot use the temporary folder: its path is longer than " +
                       std::to_string(MAX_PATH - 1) + " characters"};
    if (auto folder = toUtf8(textOf(buffer)))
        return *folder;
    return Failure{"cannot use the temporary folder: its path is not valid UTF-16"};
}

Outcome<std::string> createUniqueFile(const std::string& folder, const std::string& prefix)
{
    const auto wideFolder = toWide(folder);
    const auto widePrefix = toWide(prefix);
    if (!wideFolder || !widePrefix)
        return Failure{"cannot make a file in " + folder + ": the name is not valid UTF-8"};
    // With unique number 0 the name is chosen, and the file made, in one step: nobody else's
    // file can be taken over.
    PathBuffer buffer{};
    if (::GetTempFileNameW(wideFolder->c_str(), widePrefix->c_str(), 0, buffer.data()) == 0)
        return failed("cannot make a file in " + folder);
    const std::wstring created = textOf(buffer);
    if (auto name = toUtf8(created))
        return *name;
    ::DeleteFileW(created.c_str());
    return Failure{"cannot make a file in " + folder + ": its name is not valid UTF-16"};
}

Status renameNoReplace(const std::string& from, const std::string& to)
{
    const auto wideFrom = toWide(from);
    const auto wideTo = toWide(to);
    const std::string what = "cannot rename " + from + " to " + to;
    if (!wideFrom || !wideTo)
        return Failure{what + ": the name is not valid UTF-8"};
    // Without MOVEFILE_REPLACE_EXISTING the move fails where the new name is taken.
    if (!::MoveFileExW(wideFrom->c_str(), wideTo->c_str(), 0)) {
        const DWORD error = ::GetLastError();
        Failure failure = failed(what);
        failure.nameTaken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        return failure;
    }
    return Done{};
}

Status deleteFile(const std::string& file)
{
    // DeleteFileW takes its name literally: "*" and "?" are no patterns to it.
    const auto wideFile = toWide(file);
    if (!wideFile)
        return Failure{"cannot delete " + file + ": the name is not valid UTF-8"};
    if (!::DeleteFileW(wideFile->c_str()))
        return failed("cannot delete " + file);
    return Done{};
}

} // namespace qimlar::win32
