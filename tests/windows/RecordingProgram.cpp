// A program for the launcher's tests to start. It writes the path it was started from and each
// argument it received, one per line in UTF-8, to the file that QIMLAR_TEST_RECORD names; given
// "--slowly" first, it waits a while before writing anything.

#include "win32/WideText.h"

#include <windows.h>

#include <shellapi.h>
#include <string>

int main()
{
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (count > 1 && std::wstring(arguments[1]) == L"--slowly")
        ::Sleep(400);

    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring record = self;
    for (int i = 1; i < count; ++i)
        record += L"\n" + std::wstring(arguments[i]);
    record += L"\n";
    const std::string bytes = qimlar::win32::toUtf8(record).value_or("?");

    wchar_t recordFile[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"QIMLAR_TEST_RECORD", recordFile, MAX_PATH))
        return 2;
    const HANDLE file = ::CreateFileW(recordFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
