#!/bin/sh
# Qimlar as a desktop sees it once installed: the menu entry, the software-centre record and the
# icons, checked as `cmake --install` lays them out or as the Debian package holds them.
# Usage: InstalledFilesTest.sh install APP_ID BUILD_DIR           (on a private X server)
#        InstalledFilesTest.sh package APP_ID BUILD_DIR VERSION
set -eu
mode=$1
app=$2
build=$3
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The value of KEY in the desktop file's main group.
entry() {
    sed -n "/^\[Desktop Entry\]/,/^\[/s/^$1=//p" "$2"
}

# The files below ROOT/usr that a desktop reads, and how they fit together.
check_tree() {
    usr=$1/usr
    desktop=$usr/share/applications/$app.desktop
    [ -f "$desktop" ] || fail "no $desktop"
    # desktop-file-validate exits 0 on hints and some errors alike: anything it says is a fault.
    said=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $said"
    [ -z "$said" ] || fail "desktop-file-validate: $said"

    # Errors and warnings fail; validate-tree also finds the desktop file the launchable names.
    appstreamcli validate --no-net "$usr/share/metainfo/$app.metainfo.xml" >"$work/as" 2>&1 ||
        fail "appstreamcli validate: $(cat "$work/as")"
    appstreamcli validate-tree --no-net "$1" >"$work/as" 2>&1 ||
        fail "appstreamcli validate-tree: $(cat "$work/as")"
    grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" \
        "$usr/share/metainfo/$app.metainfo.xml" || fail "the metainfo launches no $app.desktop"

    # Shell completion where bash-completion and zsh load it from, for the installed command.
    bash -c ". '$usr/share/bash-completion/completions/qimlar-which' && complete -p qimlar-which" \
        >/dev/null || fail "no bash completion for qimlar-which"
    head -1 "$usr/share/zsh/vendor-completions/_qimlar-which" | grep -qx '#compdef qimlar-which' ||
        fail "no zsh completion for qimlar-which"

    for key in Exec TryExec; do
        program=$(entry $key "$desktop" | cut -d' ' -f1)
        [ -x "$usr/bin/$program" ] || fail "$key=$program names no installed program"
    done
    icon=$(entry Icon "$desktop")
    [ "$icon" = "$app" ] || fail "Icon=$icon, not the application ID"
    # Each size in its own folder, and a PNG of just that size: the width and height of its
    # header, four bytes each, follow the signature and the header's length and type.
    for size in 32 48 64 128 256; do
        png=$usr/share/icons/hicolor/${size}x$size/apps/$icon.png
        [ -f "$png" ] || fail "no icon $png"
        dimensions=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' \n' ' ')
        expected=$(printf ' 0 0 %d %d 0 0 %d %d ' $((size / 256)) $((size % 256)) \
            $((size / 256)) $((size % 256)))
        [ "$dimensions" = "$expected" ] || fail "$png is not ${size}x$size:$dimensions"
    done
}

# `cmake --install`, then the program from there: its windows carry the class that the desktop
# file's StartupWMClass promises, which is how X11 taskbars tie the windows to the menu entry.
install_mode() {
    cmake --install "$build" --prefix "$work/root/usr" >"$work/log" 2>&1 ||
        fail "cmake --install: $(cat "$work/log")"
    check_tree "$work/root"

    class=$(entry StartupWMClass "$work/root/usr/share/applications/$app.desktop")
    "$work/root/usr/bin/qimlar" &
    pid=$!
    # The splash has the class too, and may close while it is looked at: ask again until a
    # window answers, for a minute at the most, which a loaded machine may need. xdotool ignores
    # case; the desktop does not.
    wm_class=
    for attempt in $(seq 300); do
        window=$(xdotool search --onlyvisible --class "^$class\$" 2>/dev/null | head -1)
        [ -n "$window" ] && wm_class=$(xprop -id "$window" WM_CLASS 2>/dev/null) && break
        sleep 0.2
    done
    [ -n "$wm_class" ] || fail "no window of class '$class'"
    [ "$wm_class" = "WM_CLASS(STRING) = \"$class\", \"$class\"" ] ||
        fail "StartupWMClass=$class, but the window has $wm_class"
}

# The .deb that cpack makes of this build: its control fields, its file list, then its files.
package_mode() {
    version=$1
    cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/log" 2>&1 ||
        fail "cpack: $(cat "$work/log")"
    deb=$work/qimlar_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || fail "no $deb: $(ls "$work")"

    [ "$(dpkg-deb -f "$deb" Package)" = qimlar ] || fail "Package is not qimlar"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
    [ "$(dpkg-deb -f "$deb" Maintainer)" = "Sami Adel Tevrin <tevrin@example.org>" ] ||
        fail "Maintainer: $(dpkg-deb -f "$deb" Maintainer)"
    [ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "Section is not utils"
    dpkg-deb -f "$deb" Description | sed -n 2p | grep -q . || fail "no long Description"
    # The package names alone, without versions: dpkg-shlibdeps adds the linked libraries.
    names() { dpkg-deb -f "$deb" "$1" | tr ',' '\n' | sed 's/^ *//; s/[ (].*//'; }
    names Depends >"$work/depends"
    names Recommends >"$work/recommends"
    for package in libqt6widgets6 libglib2.0-0 libc6 shared-mime-info desktop-file-utils \
        fonts-noto-ui-core fonts-noto-core; do
        grep -qx "$package" "$work/depends" || fail "Depends lacks $package: $(cat "$work/depends")"
    done
    grep -qx qt6-translations-l10n "$work/recommends" || fail "Recommends lacks Qt's translations"

    dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/files"
    grep -v '^\./usr/' "$work/files" && fail "files outside /usr"
    for file in bin/qimlar bin/qimlar-which share/applications/$app.desktop \
        share/metainfo/$app.metainfo.xml share/man/man1/qimlar.1.gz \
        share/man/man1/qimlar-which.1.gz share/doc/qimlar/copyright \
        share/doc/qimlar/changelog.gz; do
        grep -qx "\./usr/$file" "$work/files" || fail "the package lacks /usr/$file"
    done
    [ "$(grep -c "^\./usr/share/icons/hicolor/[0-9x]*/apps/$app\.png\$" "$work/files")" -eq 5 ] ||
        fail "the package does not hold the five icons"

    dpkg-deb -x "$deb" "$work/root"
    for program in qimlar qimlar-which; do
        readelf -S "$work/root/usr/bin/$program" | grep -q '\.symtab' && fail "$program not stripped"
    done
    zcat "$work/root/usr/share/doc/qimlar/changelog.gz" | head -1 |
        grep -qF "qimlar ($version)" || fail "the changelog's version is not $version"
    check_tree "$work/root"
}

case $mode in
    install) install_mode ;;
    package) package_mode "$4" ;;
    *) fail "no mode $mode" ;;
esac
