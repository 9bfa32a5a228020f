#include "Console.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace qimlar::console {

namespace {

// A console shows what it is given as well as it can: a word or an answer that is no valid
// UTF-16 or UTF-8 keeps its valid letters, with U+FFFD standing in for the rest, rather than
// turning into the empty text.
std::string utf8Of(std::wstring_view wide)
{
    if (wide.empty() || wide.size() > INT_MAX / 3)
        return {};
    const int size = static_cast<int>(wide.size());
    std::string text(static_cast<std::size_t>(size) * 3, '\0');
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(),
                                             static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

std::wstring wideOf(std::string_view text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), size);
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wide;
}

} // namespace

std::vector<std::string> arguments(int, char*[])
{
    std::vector<std::string> result;
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!words)
        return result;
    for (int i = 1; i < count; ++i)
        result.push_back(utf8Of(words[i]));
    ::LocalFree(words);
    return result;
}

bool write(std::string_view text)
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!::GetConsoleMode(output, &mode))
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();

    // A console shows characters, not bytes: UTF-8 would come out as the ANSI code page's
    // letters.
    if (std::fflush(stdout) != 0)
        return false;
    const std::wstring wide = wideOf(text);
    std::wstring_view rest = wide;
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

std::FILE* openForReading(const std::string& file)
{
    // Text mode would end a file at its first Ctrl-Z and take CR LF apart from the queries.
    if (file == "-")
        return ::_setmode(::_fileno(stdin), _O_BINARY) == -1 ? nullptr : stdin;
    return ::_wfopen(wideOf(file).c_str(), L"rb");
}

long readSome(std::FILE* stream, char* buffer, std::size_t size)
{
    return ::_read(::_fileno(stream), buffer,
                   static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
}

bool readyToRead(std::FILE* stream)
{
    const HANDLE input = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    switch (::GetFileType(input)) {
    case FILE_TYPE_DISK:
        return true;
    case FILE_TYPE_PIPE: {
        DWORD waiting = 0;
        if (::PeekNamedPipe(input, nullptr, 0, nullptr, &waiting, nullptr))
            return waiting > 0;
        // A pipe whose writer has gone ends the read at once; one that cannot be peeked at
        // (Wine's pipes from Unix) may wait.
        return ::GetLastError() == ERROR_BROKEN_PIPE;
    }
    default: // a console waits for its line
        return false;
    }
}

namespace {

// The probe's name for the console's control handler, which runs on a thread of its own.
SRWLOCK probeLock = SRWLOCK_INIT;
std::wstring recordedProbe;
bool handlerInstalled = false;

BOOL WINAPI deleteProbeAndEnd(DWORD)
{
    // The lock stays taken: no new probe appears while the process ends.
    ::AcquireSRWLockExclusive(&probeLock);
    if (!recordedProbe.empty())
        ::DeleteFileW(recordedProbe.c_str());
    return FALSE; // the next handler, the system's own, ends the process
}

} // namespace

ProbeChange::ProbeChange()
{
    ::AcquireSRWLockExclusive(&probeLock);
}

ProbeChange::~ProbeChange()
{
    ::ReleaseSRWLockExclusive(&probeLock);
}

void ProbeChange::record(const std::string& probe)
{
    if (!handlerInstalled)
        handlerInstalled = ::SetConsoleCtrlHandler(deleteProbeAndEnd, TRUE) != 0;
    recordedProbe = wideOf(probe);
}

} // namespace qimlar::console
