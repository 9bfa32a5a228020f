#!/bin/sh
# Qimlar's windows on weston, headless, with Qt's Wayland platform: what the program asks of the
# compositor is read from the protocol log (WAYLAND_DEBUG). The splash and then the main window
# become toplevels, the splash without a frame and gone before the main window comes, each at a
# fixed size; the help menu opens the About and the usefulness window; the exit button ends the
# program with status 0. Exits 77 (skipped) only when weston cannot start at all.
# Usage: WaylandTest.sh WALKTHROUGH
set -eu
walkthrough=$1
work=$(mktemp -d)
weston=
trap '[ -z "$weston" ] || kill "$weston" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    echo "--- protocol log ---" >&2
    cat "$work/protocol" >&2
    exit 1
}

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
unset DISPLAY WAYLAND_SOCKET
weston --backend=headless-backend.so --socket=qimlar-test --idle-time=0 \
    --log="$work/weston.log" >/dev/null 2>&1 &
weston=$!
# Only weston's socket or its end stops the wait; a loaded machine may need a minute to start it.
for _ in $(seq 600); do
    [ -S "$XDG_RUNTIME_DIR/qimlar-test" ] && break
    kill -0 "$weston" 2>/dev/null || break
    sleep 0.1
done
if ! [ -S "$XDG_RUNTIME_DIR/qimlar-test" ] || ! kill -0 "$weston" 2>/dev/null; then
    echo "SKIP: weston could not start here, so nothing was tested on Wayland:" >&2
    cat "$work/weston.log" >&2 2>/dev/null || true
    exit 77
fi

status=0
WAYLAND_DISPLAY=qimlar-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 \
    timeout 60 "$walkthrough" 2>"$work/protocol" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status, not 0"
! grep -q 'wl_display@1\.error' "$work/protocol" || fail "the compositor reported a protocol error"

# One line per toplevel the program made, in order: its minimum and maximum size, its last
# window geometry (what the compositor treats as the window, Qt's own frame included), whether
# it was destroyed before the next toplevel came, and the walkthrough's last word before it.
awk '
    function id(text, interface) { match(text, interface "@[0-9]+"); return substr(text, RSTART, RLENGTH) }
    function args(text) { match(text, /\(.*\)/); t = substr(text, RSTART + 1, RLENGTH - 2); gsub(/, /, "x", t); return t }
    /^walkthrough:/ { said = $0; sub(/^walkthrough: /, "", said); gsub(/ /, "-", said) }
    / -> xdg_surface@[0-9]+\.get_toplevel/ {
        n++; surface[id($0, "xdg_surface")] = n; toplevel[id($0, "xdg_toplevel")] = n
        after[n] = said == "" ? "start" : said; gone[n - 1] = gone[n - 1] == "" ? "stayed" : gone[n - 1]
    }
    / -> xdg_toplevel@[0-9]+\.set_min_size/ { minimum[toplevel[id($0, "xdg_toplevel")]] = args($0) }
    / -> xdg_toplevel@[0-9]+\.set_max_size/ { maximum[toplevel[id($0, "xdg_toplevel")]] = args($0) }
    / -> xdg_surface@[0-9]+\.set_window_geometry/ { geometry[surface[id($0, "xdg_surface")]] = args($0) }
    / -> xdg_toplevel@[0-9]+\.destroy/ { k = toplevel[id($0, "xdg_toplevel")]; if (k == n) gone[k] = "destroyed" }
    END { for (i = 1; i <= n; i++) print i, minimum[i], maximum[i], geometry[i], gone[i], after[i] }
' "$work/protocol" >"$work/toplevels"

count=$(wc -l <"$work/toplevels")
[ "$count" -eq 4 ] || fail "$count toplevels, not 4 (splash, main, About, usefulness): $(cat "$work/toplevels")"
while read -r index minimum maximum geometry gone after; do
    [ -n "$minimum" ] && [ "$minimum" = "$maximum" ] ||
        fail "toplevel $index is not of a fixed size: minimum $minimum, maximum $maximum"
    case $index in
    1)
        [ "$after" = start ] || fail "the first toplevel came after '$after', not at the start"
        # Frameless: what the compositor sees as the window is the picture alone.
        [ "$geometry" = "0x0x$minimum" ] ||
            fail "the splash has a frame: window geometry $geometry around $minimum"
        [ "$gone" = destroyed ] || fail "the splash was still there when the main window came"
        ;;
    2)
        [ "$after" = start ] || fail "the main window came after '$after'"
        # The main window has a title bar and borders, drawn by Qt itself on weston.
        [ "$geometry" != "0x0x$minimum" ] ||
            fail "the main window has no frame: window geometry $geometry"
        ;;
    3) [ "$after" = main-window-on-the-screen ] ||
        fail "the third toplevel (About) came after '$after'" ;;
    4) [ "$after" = about-window-on-the-screen ] ||
        fail "the fourth toplevel (usefulness) came after '$after'" ;;
    esac
done <"$work/toplevels"
grep -q '^walkthrough: usefulness window on the screen' "$work/protocol" ||
    fail "the usefulness window never came on the screen"
echo "toplevels (index, minimum, maximum, window geometry, fate, after):"
cat "$work/toplevels"
