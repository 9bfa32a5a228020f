#!/bin/sh
# Runs a command on an X server of its own: Xvfb on the first free display, ended and waited for
# when the command has ended. (xvfb-run does not wait for its server: one still shutting down
# removes the socket of the next test's server on the same display, and that test's programs
# cannot connect.)
# Usage: OnPrivateX.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT]...
set -eu
screen=$1
shift
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$work/display" 2>"$work/log" &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$work"' EXIT

# Xvfb writes its display number once it takes connections.
for attempt in $(seq 100); do
    [ -s "$work/display" ] && break
    if ! kill -0 "$server" 2>/dev/null || [ "$attempt" -eq 100 ]; then
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
