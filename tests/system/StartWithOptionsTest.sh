#!/bin/sh
# Qimlar started with Qt's own command-line options looks exactly as it does without them: the
# screen of a private X server is compared, pixel for pixel, once the main window is up.
# Usage: StartWithOptionsTest.sh QIMLAR (on a private X server)
#
# Each wait below ends on what it waits for: the limits are only there so that a fault cannot
# hang the test, and are long enough for a loaded machine.
set -eu
qimlar=$1
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
pid=

printf '* { background: blue; color: yellow; font-size: 30px; }\n' >"$work/loud.qss"

# Whether the main window is mapped. The splash may close while xdotool looks at it, which
# xdotool reports as an X error (a BadWindow), the same as finding nothing: it is asked again.
main_window_shown() {
    xdotool search --onlyvisible --name '^ *Qimlar$' >/dev/null 2>&1
}

# Starts Qimlar with the given arguments and waits until its main window is mapped.
start() {
    "$qimlar" "$@" &
    pid=$!
    for attempt in $(seq 600); do
        main_window_shown && return 0
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "Qimlar ended before its main window appeared" >&2
            return 1
        fi
        sleep 0.1
    done
    echo "the main window never appeared" >&2
    return 1
}

# Ends Qimlar and waits until the server has taken its window away: the server learns of the
# end only after the process is gone, and the next start must not find the old window.
stop() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    for attempt in $(seq 600); do
        main_window_shown || return 0
        sleep 0.1
    done
    echo "the main window outlived its program" >&2
    return 1
}

# The screen once it has stopped changing: a second of dumps alike, so that a window mapped but
# not yet painted, as a loaded machine may leave it for a while, is not taken for the picture.
start
xwd -root -silent >"$work/before"
alike=0
for attempt in $(seq 600); do
    sleep 0.1
    xwd -root -silent >"$work/plain"
    if cmp -s "$work/before" "$work/plain"; then
        alike=$((alike + 1))
        [ "$alike" -lt 10 ] || break
    else
        alike=0
        mv "$work/plain" "$work/before"
    fi
done
[ "$alike" -ge 10 ] || {
    echo "the screen never stopped changing" >&2
    exit 1
}
stop

start -reverse -style windows -stylesheet "$work/loud.qss" -qwindowgeometry 200x100+0+0 \
    -qwindowtitle Other -geometry 100x100+5+5 -title Other -name other -font Serif \
    -platform offscreen -display :12345 -widgetcount -nograb
for attempt in $(seq 600); do
    xwd -root -silent >"$work/options"
    if cmp -s "$work/plain" "$work/options"; then
        stop
        exit 0
    fi
    sleep 0.1
done
echo "the screen differs when Qimlar is started with Qt's options" >&2
exit 1
