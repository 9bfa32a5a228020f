#include "win32/SystemError.h"

#include "win32/WideText.h"

#include <windows.h>

namespace qimlar::win32 {

Failure failed(const std::string& what)
{
    const DWORD error = ::GetLastError();
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text(message ? message : L"", length);
    ::LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    const std::string reason = utf8Of(text);
    return Failure{what + ": " + (reason.empty() ? "error " + std::to_string(error) : reason)};
}

} // namespace qimlar::win32
