// Prints the style bits of the visible top-level window whose title is the argument, as
// GetWindowLongW gives them, then which of the frame's bits are set: what a test driving the
// real qimlar.exe from outside cannot read from X.
//   window-style TITLE  ->  0x14ca0000 minimizebox sysmenu caption
// Exits 1 when no such window is shown.

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Search
{
    const wchar_t* title;
    HWND found = nullptr;
};

BOOL CALLBACK visit(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    if (::IsWindowVisible(window) && std::wcscmp(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2) {
        std::fputs("usage: window-style TITLE\n", stderr);
        return 2;
    }
    Search search{argv[1]};
    ::EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        std::fputs("no visible window has that title\n", stderr);
        return 1;
    }
    const LONG style = ::GetWindowLongW(search.found, GWL_STYLE);
    std::printf("0x%08lx", static_cast<unsigned long>(style));
    const struct
    {
        LONG bit;
        const char* name;
    } bits[] = {{WS_MINIMIZEBOX, "minimizebox"}, {WS_MAXIMIZEBOX, "maximizebox"},
                {WS_THICKFRAME, "thickframe"},   {WS_SYSMENU, "sysmenu"},
                {WS_CAPTION, "caption"},         {WS_BORDER, "border"}};
    for (const auto& [bit, name] : bits)
        if ((style & bit) == bit)
            std::printf(" %s", name);
    std::printf("\n");
    return 0;
}
