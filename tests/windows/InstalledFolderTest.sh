#!/bin/sh
# What `cmake --install` leaves for Windows runs on a Windows with nothing installed: every DLL
# that qimlar.exe, qimlar-which.exe and each installed DLL import is either installed beside the
# programs (where Windows looks first) or one of Windows' own.
# Usage: InstalledFolderTest.sh BUILD_DIR OBJDUMP
set -eu
build=$1
objdump=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "$*" >&2
    exit 1
}

cmake --install "$build" --prefix "$work/Qimlar" >"$work/log" 2>&1 || fail "cmake --install: $(cat "$work/log")"
bin=$work/Qimlar/bin
for file in qimlar.exe qimlar-which.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll \
    imageformats/qico.dll translations/qtbase_ar.qm; do
    [ -f "$bin/$file" ] || fail "the installed folder lacks bin/$file"
done

# Windows' own DLLs, which every Windows 10 and 11 has: the Win32 API, the C runtime it ships, and
# the API sets (api-ms-win-*) that stand for parts of them.
system=" advapi32 authz bcrypt comctl32 comdlg32 crypt32 d2d1 d3d11 d3d12 d3d9 dcomp dwmapi dwrite"
system="$system dxgi gdi32 imm32 kernel32 mpr msvcrt netapi32 ntdll ole32 oleacc oleaut32 rpcrt4"
system="$system secur32 setupapi shcore shell32 shlwapi user32 userenv usp10 uxtheme version"
system="$system winmm winspool wtsapi32 ws2_32 "
beside=$(cd "$bin" && ls | tr 'A-Z' 'a-z')
find "$bin" -iname '*.exe' -o -iname '*.dll' | while read -r module; do
    "$objdump" -p "$module" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' |
        while read -r dll; do
            name=${dll%.dll}
            case "$name" in api-ms-win-*) continue ;; esac
            case "$system" in *" $name "*) continue ;; esac
            printf '%s\n' "$beside" | grep -qx "$dll" ||
                fail "${module#"$bin"/} imports $dll, which is neither installed beside it nor Windows' own"
        done
done
