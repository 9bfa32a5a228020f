// What a test driving the real qimlar.exe from outside cannot learn from X: the windows as
// Windows sees them, whether one still answers, and a polite request to close one.
//
//   window-probe list            the visible top-level windows, a line each, with tabs between:
//                                the program's path, WIDTHxHEIGHT+LEFT+TOP of the whole window,
//                                the frame's style bits (and "active"), the title
//   window-probe watch shown|gone TITLE S
//                                the list, and again each time it changes, a blank line after
//                                each, until a window titled TITLE is shown (or none is: gone),
//                                exit 0, or S seconds have passed, exit 1: a watch from inside
//                                sees what polling from outside could miss
//   window-probe answers TITLE   exit 0 when that window's thread answers WM_NULL within five
//                                seconds, 1 when it does not
//   window-probe close TITLE     posts WM_CLOSE to that window
//   window-probe running PATH    exit 0 when a process of that program runs, 1 when none does
// A title that no visible window has: exit 3. Output is UTF-8, lines end in LF.

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <string>
#include <tlhelp32.h>
#include <vector>

namespace {

struct Window
{
    HWND handle;
    std::wstring title;
};

std::vector<Window> visibleWindows()
{
    std::vector<Window> windows;
    ::EnumWindows(
        [](HWND handle, LPARAM context) -> BOOL {
            if (::IsWindowVisible(handle)) {
                wchar_t title[512] = {};
                ::GetWindowTextW(handle, title, 512);
                reinterpret_cast<std::vector<Window>*>(context)->push_back({handle, title});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND find(const std::wstring& title)
{
    for (const Window& window : visibleWindows())
        if (window.title == title)
            return window.handle;
    return nullptr;
}

std::string utf8(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          size, nullptr, nullptr);
    return bytes;
}

std::wstring programOf(HWND window)
{
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    std::wstring path = L"?";
    if (HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)) {
        wchar_t name[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (::QueryFullProcessImageNameW(process, 0, name, &size))
            path = name;
        ::CloseHandle(process);
    }
    return path;
}

bool running(const std::wstring& program)
{
    bool found = false;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found;
         more = ::Process32NextW(snapshot, &entry))
        if (HANDLE process =
                ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID)) {
            wchar_t name[MAX_PATH] = {};
            DWORD size = MAX_PATH;
            found = ::QueryFullProcessImageNameW(process, 0, name, &size) &&
                    ::lstrcmpiW(name, program.c_str()) == 0;
            ::CloseHandle(process);
        }
    ::CloseHandle(snapshot);
    return found;
}

std::string describe(const Window& window)
{
    RECT box{};
    ::GetWindowRect(window.handle, &box);
    char place[64];
    std::snprintf(place, sizeof place, "%ldx%ld+%ld+%ld", box.right - box.left,
                  box.bottom - box.top, box.left, box.top);

    const auto style = static_cast<DWORD>(::GetWindowLongW(window.handle, GWL_STYLE));
    const auto extended = static_cast<DWORD>(::GetWindowLongW(window.handle, GWL_EXSTYLE));
    std::string bits;
    // WS_CAPTION is WS_BORDER with WS_DLGFRAME: each is named when all its bits are set.
    const struct
    {
        DWORD bit;
        const char* name;
    } styles[] = {{WS_POPUP, "popup"},
                  {WS_CAPTION, "caption"},
                  {WS_BORDER, "border"},
                  {WS_DLGFRAME, "dlgframe"},
                  {WS_THICKFRAME, "thickframe"},
                  {WS_SYSMENU, "sysmenu"},
                  {WS_MINIMIZEBOX, "minimizebox"},
                  {WS_MAXIMIZEBOX, "maximizebox"},
                  {WS_DISABLED, "disabled"}};
    for (const auto& [bit, name] : styles)
        if ((style & bit) == bit)
            bits += std::string(bits.empty() ? "" : " ") + name;
    if (extended & WS_EX_TOOLWINDOW)
        bits += std::string(bits.empty() ? "" : " ") + "toolwindow";
    // Not a style: whether the window takes the input, which a click may otherwise only give it.
    if (window.handle == ::GetForegroundWindow())
        bits += std::string(bits.empty() ? "" : " ") + "active";

    return utf8(programOf(window.handle)) + '\t' + place + '\t' + bits + '\t' + utf8(window.title) +
           '\n';
}

std::string listing()
{
    std::string lines;
    for (const Window& window : visibleWindows())
        lines += describe(window);
    return lines;
}

// Exits 0 once a window titled `title` is shown (or, with `gone`, none is), 1 after `seconds`.
int watch(bool gone, const std::wstring& title, double seconds)
{
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    // The first list is printed even when empty: the caller learns that the watch has begun.
    std::string last = "?";
    for (;;) {
        const std::string now = listing();
        if (now != last) {
            std::fputs((now + '\n').c_str(), stdout);
            std::fflush(stdout);
            last = now;
        }
        if ((find(title) == nullptr) == gone)
            return 0;
        if (::GetTickCount64() > deadline)
            return 1;
        ::Sleep(10);
    }
}

} // namespace

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const std::wstring command = count > 1 ? argv[1] : L"";

    if (command == L"list" && count == 2) {
        std::fputs(listing().c_str(), stdout);
        return 0;
    }
    if (command == L"running" && count == 3)
        return running(argv[2]) ? 0 : 1;
    if (command == L"watch" && count == 5 &&
        (std::wstring(argv[2]) == L"shown" || std::wstring(argv[2]) == L"gone"))
        return watch(std::wstring(argv[2]) == L"gone", argv[3], _wtof(argv[4]));
    if ((command == L"answers" || command == L"close") && count == 3) {
        const HWND window = find(argv[2]);
        if (!window) {
            std::fputs("window-probe: no visible window has that title\n", stderr);
            return 3;
        }
        if (command == L"close")
            return ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) ? 0
                                                                                              : 1;
    }
    std::fputs("usage: window-probe list | watch shown|gone TITLE SECONDS | answers TITLE | close "
               "TITLE | running PATH\n",
               stderr);
    return 2;
}
