#include "NativePlatform.h"
#include "WideText.h"

#include <windows.h>

#include <array>
#include <cwchar>
#include <shellapi.h>
#include <shlwapi.h>
#include <string>

namespace qimlar {

namespace {

// Every buffer a Windows function fills starts as MAX_PATH NULs; its value is its text up to
// the first NUL, so a function that writes nothing leaves an empty text.
using PathBuffer = std::array<wchar_t, MAX_PATH>;

std::wstring textOf(const PathBuffer& buffer)
{
    return std::wstring(buffer.data(), ::wcsnlen(buffer.data(), buffer.size()));
}

std::wstring fullPath(const std::wstring& path)
{
    PathBuffer buffer{};
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, buffer.data(), nullptr);
    return length > 0 && length < MAX_PATH ? textOf(buffer) : path;
}

// The program in the command the shell has registered for `file`'s extension, read whole
// however the command quotes it; nothing when there is no such command.
std::wstring registeredProgram(const std::wstring& file)
{
    const wchar_t* extension = ::PathFindExtensionW(file.c_str());
    if (*extension == L'\0')
        return {};
    PathBuffer buffer{};
    DWORD length = MAX_PATH;
    if (FAILED(::AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, extension, nullptr,
                                   buffer.data(), &length)))
        return {};
    return textOf(buffer);
}

// FindExecutableW stops at the first space of a registered command that holds its program's
// path unquoted ("C:\Program" for C:\Program Files\My App\app.exe %1).
bool isCutAtSpace(std::wstring_view cut, std::wstring_view whole)
{
    return whole.size() > cut.size() && whole[cut.size()] == L' ' &&
           equalIgnoringCase(cut, whole.substr(0, cut.size()));
}

// "what failed: the system's reason", with Windows' own words for the last error.
Failure failed(const std::string& what, DWORD error = ::GetLastError())
{
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text(message ? message : L"", length);
    ::LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    const std::string reason = toUtf8(text).value_or(std::string());
    return Failure{what + ": " + (reason.empty() ? "error " + std::to_string(error) : reason)};
}

bool namesExistingFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

Outcome<std::string> NativePlatform::tempFolder()
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

Outcome<std::string> NativePlatform::createUniqueFile(const std::string& folder,
                                                      const std::string& prefix)
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

Status NativePlatform::renameNoReplace(const std::string& from, const std::string& to)
{
    const auto wideFrom = toWide(from);
    const auto wideTo = toWide(to);
    const std::string what = "cannot rename " + from + " to " + to;
    if (!wideFrom || !wideTo)
        return Failure{what + ": the name is not valid UTF-8"};
    // Without MOVEFILE_REPLACE_EXISTING the move fails where the new name is taken.
    if (!::MoveFileExW(wideFrom->c_str(), wideTo->c_str(), 0))
        return failed(what);
    return Done{};
}

LookupResult NativePlatform::findAssociation(const std::string& file)
{
    LookupResult result;
    result.status = LookupStatus::NoProgram;
    const auto wideFile = toWide(file);
    if (!wideFile)
        return result;
    PathBuffer buffer{};
    ::FindExecutableW(wideFile->c_str(), nullptr, buffer.data());
    std::wstring program = textOf(buffer);
    if (program.empty())
        return result;

    // Programs and scripts open themselves: the answer would be the probe, gone a moment later.
    if (equalIgnoringCase(fullPath(program), fullPath(*wideFile)))
        return result;

    const std::wstring whole = registeredProgram(*wideFile);
    if (isCutAtSpace(program, whole))
        program = whole;
    result.program = toUtf8(program).value_or(std::string());
    if (!result.program.empty())
        result.status = LookupStatus::Found;
    return result;
}

Status NativePlatform::deleteFile(const std::string& file)
{
    // DeleteFileW takes its name literally: "*" and "?" are no patterns to it.
    const auto wideFile = toWide(file);
    if (!wideFile)
        return Failure{"cannot delete " + file + ": the name is not valid UTF-8"};
    if (!::DeleteFileW(wideFile->c_str()))
        return failed("cannot delete " + file);
    return Done{};
}

Outcome<std::string> NativePlatform::terminalCommandLine(const std::string&)
{
    // A program here opens its own console when it needs one.
    return Failure{"no program asks for a terminal on Windows"};
}

Outcome<ProcessHandle> NativePlatform::startProcess(const std::string& commandLine)
{
    const auto wide = toWide(commandLine);
    // No C string can carry a NUL: cut there, the text would name another program.
    if (!wide || wide->find(L'\0') != std::wstring::npos)
        return Failure{"cannot start \"" + commandLine + "\": it names no program"};

    // Given no program name, Windows tries the words of an unquoted path one by one, and
    // C:\Program Files\My App\app.exe would start C:\Program.exe if there were one. A text that
    // is the path of a file starts that file, spaces and all.
    std::wstring applicationName;
    std::wstring line = *wide;
    if (wide->find_first_of(L"\\/") != std::wstring::npos && namesExistingFile(*wide)) {
        applicationName = *wide;
        line = L"\"" + *wide + L"\"";
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(applicationName.empty() ? nullptr : applicationName.c_str(), line.data(),
                          nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &started))
        return failed("cannot start " + commandLine);
    return ProcessHandle{reinterpret_cast<std::intptr_t>(started.hProcess),
                         reinterpret_cast<std::intptr_t>(started.hThread)};
}

void NativePlatform::waitForExit(const ProcessHandle& process)
{
    ::WaitForSingleObject(reinterpret_cast<HANDLE>(process.process), INFINITE);
}

void NativePlatform::closeProcess(const ProcessHandle& process)
{
    ::CloseHandle(reinterpret_cast<HANDLE>(process.process));
    ::CloseHandle(reinterpret_cast<HANDLE>(process.thread));
}

Platform& nativePlatform()
{
    static NativePlatform platform;
    return platform;
}

} // namespace qimlar
