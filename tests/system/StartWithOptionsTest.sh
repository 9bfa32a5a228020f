#!/bin/sh
# Qimlar started with Qt's own command-line options looks exactly as it does without them: the
# screen of a private X server is compared, pixel for pixel, once the main window is up.
# Usage: StartWithOptionsTest.sh QIMLAR (on a private X server)
set -eu
qimlar=$1
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
pid=

printf '* { background: blue; color: yellow; font-size: 30px; }\n' >"$work/loud.qss"

# Starts Qimlar with the given arguments and waits until its main window is mapped.
start() {
    "$qimlar" "$@" &
    pid=$!
    # The splash may close while xdotool looks at it, which xdotool reports as an X error (a
    # BadWindow): ask again, for 20 seconds at the most.
    for attempt in $(seq 200); do
        xdotool search --onlyvisible --name '^ *Qimlar$' >/dev/null 2>&1 && return 0
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "Qimlar ended before its main window appeared" >&2
            return 1
        fi
        sleep 0.1
    done
    echo "the main window never appeared" >&2
    return 1
}

stop() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

# The screen once it has stopped changing: two dumps in a row alike.
start
xwd -root -silent >"$work/before"
for attempt in $(seq 50); do
    sleep 0.1
    xwd -root -silent >"$work/plain"
    cmp -s "$work/before" "$work/plain" && break
    mv "$work/plain" "$work/before"
done
stop

start -reverse -style windows -stylesheet "$work/loud.qss" -qwindowgeometry 200x100+0+0 \
    -qwindowtitle Other -geometry 100x100+5+5 -title Other -name other -font Serif \
    -platform offscreen -display :12345 -widgetcount -nograb
for attempt in $(seq 50); do
    xwd -root -silent >"$work/options"
    if cmp -s "$work/plain" "$work/options"; then
        stop
        exit 0
    fi
    sleep 0.1
done
echo "the screen differs when Qimlar is started with Qt's options" >&2
exit 1
