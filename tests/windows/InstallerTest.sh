#!/bin/sh
# The Windows installer that cpack makes of this build, under Wine, in a prefix of its own: a
# silent install puts Qimlar into Program Files with its Start-menu shortcut and its "Apps &
# features" entry; the installed qimlar.exe opens its main window; a silent uninstall leaves no
# file and no key of Qimlar's behind.
# Usage: InstallerTest.sh BUILD_DIR VERSION RC_SCRIPT   (on a private X server)
set -eu
build=$1
version=$2
rc=$3
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=C.UTF-8
pid=
finish() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver --kill >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "$*" >&2
    exit 1
}
# Waits up to a minute for a condition that Wine, slow on a busy machine, reaches in its time.
within_a_minute() {
    for attempt in $(seq 120); do
        "$@" && return 0
        sleep 0.5
    done
    return 1
}

# cpack writes package/ in the folder it runs in.
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G NSIS -B "$work") >"$work/log" 2>&1 ||
    fail "cpack: $(cat "$work/log")"
installer=$work/package/qimlar-$version-win64.exe
[ -f "$installer" ] || fail "no $installer: $(ls -R "$work/package")"

wineboot --init </dev/null >/dev/null 2>&1
wine "$installer" /S </dev/null >/dev/null 2>&1 || fail "the silent install failed"
folder="$WINEPREFIX/drive_c/Program Files/Qimlar"
for file in bin/qimlar.exe bin/qimlar-which.exe bin/Qt6Widgets.dll bin/platforms/qwindows.dll \
    Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "the install lacks $file in Program Files/Qimlar"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
[ -n "$(find "$menu" -name Qimlar.lnk)" ] || fail "no Start-menu shortcut Qimlar.lnk"

# The "Apps & features" entry, read from the registry file Wine keeps (written once its server
# has ended): `wine reg query` prints through the console's code page, which has no Arabic.
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Qimlar'
value() {
    wineserver --wait
    perl -CS -ne '
        if (/^\[/) { $in = /^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Qimlar\]/ }
        elsif ($in && /^"\Q'"$1"'\E"="(.*)"\s*$/) {
            ($v = $1) =~ s/\\x([0-9a-fA-F]{1,4})/chr(hex($1))/ge;
            $v =~ s/\\(["\\])/$1/g;
            print "$v\n";
        }' "$WINEPREFIX/system.reg"
}
[ "$(value DisplayName)" = Qimlar ] || fail "DisplayName: $(value DisplayName)"
[ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion: $(value DisplayVersion)"
publisher=$(sed -n 's/.*VALUE "CompanyName", "\(.*\)"/\1/p' "$rc" | tr -d '\r')
[ "$(value Publisher)" = "$publisher" ] || fail "Publisher: $(value Publisher), not $publisher"
value DisplayIcon | grep -qi 'qimlar\.exe' || fail "DisplayIcon: $(value DisplayIcon)"
value UninstallString | grep -qi 'Uninstall\.exe' || fail "UninstallString: $(value UninstallString)"

# The installed program opens its main window.
wine "$folder/bin/qimlar.exe" </dev/null >/dev/null 2>&1 &
pid=$!
main_window() { xdotool search --onlyvisible --name '^ *Qimlar$' >/dev/null 2>&1; }
within_a_minute main_window || fail "the installed qimlar.exe opened no main window"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=

# The uninstaller copies itself away and returns at once: the files go a moment later.
wine "$folder/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the silent uninstall failed"
gone() { [ ! -e "$folder" ] && [ -z "$(find "$menu" -iname 'qimlar*')" ]; }
within_a_minute gone || fail "left behind: $(find "$folder" "$menu" -iname '*' 2>/dev/null | head)"
wine reg query "$key" </dev/null >/dev/null 2>&1 && fail "the Uninstall key is still there"
wineserver --wait
grep -q '^\[Software\\\\Tevrin' "$WINEPREFIX/system.reg" && fail "the publisher's key is still there"
exit 0
