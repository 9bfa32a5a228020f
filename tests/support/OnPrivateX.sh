#!/bin/sh
# Runs a command on an X server of its own, ended and waited for when the command has ended.
# Usage: OnPrivateX.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT]...
#
# What makes the server the command's alone, however many others come and go beside it:
# - -noreset: an X server resets itself whenever its last client leaves, and a client that
#   connects meanwhile is turned away ("could not connect to display"). The tests' clients come
#   and go all the time: xdotool asks while the program is still connecting, and the program is
#   started again right after it was stopped.
# - -nolisten unix: the server takes connections on its abstract socket only, which it holds for
#   as long as it runs and which nothing can remove. Its socket file could be unlinked by another
#   server that ends or starts on the same display: ours takes the first display whose sockets
#   are free, and -displayfd leaves no lock file behind that would keep others off it.
# - Waiting for the server to end: one still ending would take the display with it.
set -eu
screen=$1
shift
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -nolisten unix -noreset \
    3>"$work/display" 2>"$work/log" &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$work"' EXIT

# Xvfb writes its display number once it takes connections; on a loaded machine that may take a
# while, so only its end, or a minute, stops the wait.
for attempt in $(seq 600); do
    [ -s "$work/display" ] && break
    if ! kill -0 "$server" 2>/dev/null || [ "$attempt" -eq 600 ]; then
        cat "$work/log" >&2
        echo "Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=:$(cat "$work/display")
export DISPLAY
unset WAYLAND_DISPLAY

status=0
"$@" || status=$?
exit "$status"
