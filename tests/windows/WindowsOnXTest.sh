#!/bin/sh
# The real qimlar.exe under Wine, driven from outside as a user would: keys and clicks through
# xdotool, sizes from xwininfo, and what only Windows knows (titles, style bits, whether a
# window answers) from window-probe.exe in the same Wine. The prefix is the test's own.
# Usage: WindowsOnXTest.sh WINE QIMLAR.EXE WINDOW-PROBE.EXE QIMLAR-WHICH.EXE QT-BIN
# (on a private X server; QT-BIN is the Windows path of Qt's DLLs)
#
# Each wait ends on what it waits for; the limits are long, as Wine is slow on a loaded machine.
# Only the checks that nothing happens wait a fixed while.
set -eu
wine=$1
qimlar=$2
probe=$3
which=$4
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEPATH="$5" WINEDEBUG=-all LC_ALL=C.UTF-8
export WINEDLLOVERRIDES='mscoree,mshtml='
unset WAYLAND_DISPLAY
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true; wineserver -w </dev/null >/dev/null 2>&1 || true
      rm -rf "$work"' EXIT

main_title='                         Qimlar'
prompt_title=Qimlar
# The help windows' titles, as their definitions have them.
about_title='                                 عــ البرنامج ــــن'
usefulness_title='                                فائــ البرنامج ـــدة'

fail() {
    echo "$*" >&2
    echo "--- the windows last seen:" >&2
    cat "$work/windows" >&2 2>/dev/null || true
    exit 1
}

# Wine's own messages go to a file: neither Wine nor the services it starts may hold CTest's
# pipe, and the probe's answers are read from files for the same reason.
on_wine() {
    "$wine" "$@" </dev/null 2>>"$work/wine.log"
}

# Refreshes $work/windows: the visible windows as Windows has them, a line each, tab-separated:
# program, WIDTHxHEIGHT+LEFT+TOP, style bits, title.
look() {
    on_wine "$probe" list >"$work/windows" || fail "window-probe could not list the windows"
}

# The field (2: place, 3: style) of the window titled $1 in $work/windows.
field() {
    awk -F '\t' -v title="$1" -v field="$2" '$4 == title { print $field; exit }' "$work/windows"
}

count() {
    awk -F '\t' -v title="$1" '$4 == title { n++ } END { print n + 0 }' "$work/windows"
}

# Waits until a window titled $2 is shown ($1 shown) or none is ($1 gone).
watch() {
    on_wine "$probe" watch "$1" "$2" "${3:-60}" >"$work/watch" || {
        tail -n 20 "$work/watch" >"$work/windows"
        fail "no window titled '$2' became $1"
    }
    look
}

# The X window of the visible window titled exactly $1.
x_window() {
    for attempt in $(seq 100); do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    fail "X shows no window titled '$1'"
}

# A click at $2,$3 within the X window $1 titled $4, once Windows has made it the active window.
# Without a window manager, X's input focus does not activate a window, and a click on a window
# that is not active may only activate it: it is activated by clicks on its picture below the
# buttons, where a click does nothing else, near its left end, which the help windows, centred
# on the screen, leave free.
click() {
    for attempt in $(seq 60); do
        look
        case " $(field "$4" 3) " in *" active "*) break ;; esac
        [ "$attempt" -lt 60 ] || fail "the window titled '$4' never became active"
        xdotool mousemove --window "$1" 16 $((menu_bar + 178)) click 1
        sleep 0.5
    done
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# The help menu at the right end of the menu bar, then its entry $1 (1 or 2) in its popup, which
# is found by its place; Qt names a popup after the program.
help_entry() {
    click "$main" $((width - 20)) $((menu_bar / 2)) "$main_title"
    watch shown qimlar
    set -- "$1" $(field qimlar 2 | tr 'x+' '  ')
    xdotool mousemove $(($4 + $2 / 2)) $(($5 + $3 * (2 * $1 - 1) / 4)) click 1
    watch gone qimlar
}

# A fresh prefix, its server started apart from our output. A fresh prefix may lack .txt, and
# Wine's notepad.exe is to open it.
mkdir "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
on_wine wineboot --init >/dev/null
on_wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null
on_wine "$which" txt >"$work/answer" || fail "qimlar-which.exe finds no program for txt"
notepad=$(tr -d '\r' <"$work/answer")
case "$notepad" in
*[Nn][Oo][Tt][Ee][Pp][Aa][Dd].[Ee][Xx][Ee]) ;;
*) fail "txt opens with '$notepad', not Wine's notepad.exe" ;;
esac

# The start, watched from inside (every change of the windows) and from X (the splash's size).
on_wine "$probe" watch shown "$main_title" 120 >"$work/start" &
watcher=$!
for attempt in $(seq 600); do
    [ -s "$work/start" ] && break
    sleep 0.1
done
"$wine" "$qimlar" </dev/null >/dev/null 2>>"$work/wine.log" &
qimlar_pid=$!
: >"$work/x-sizes"
for attempt in $(seq 1200); do
    for window in $(xdotool search --onlyvisible --classname '^qimlar\.exe$' 2>/dev/null); do
        xwininfo -id "$window" 2>/dev/null | sed -n 's/^ *-geometry \([0-9]*x[0-9]*\).*/\1/p' \
            >>"$work/x-sizes"
    done
    xdotool search --onlyvisible --name "^$main_title\$" >/dev/null 2>&1 && break
    kill -0 "$qimlar_pid" 2>/dev/null || fail "qimlar.exe ended before its main window appeared"
    sleep 0.05
done
wait "$watcher" || fail "the main window never appeared"
grep -qx 361x181 "$work/x-sizes" || fail "X showed no splash of 361x181: $(sort -u "$work/x-sizes")"

# In every state the watch saw: the splash is 361 x 181 without caption or frame, and is never
# shown beside the main window; the first window of all is the splash.
awk -F '\t' -v main="$main_title" '
    BEGIN { RS = ""; FS = "\n" }
    {
        splash = 0; shown = 0; others = 0
        for (i = 1; i <= NF; i++) {
            split($i, column, "\t")
            if (column[4] == main) shown = 1
            else if (column[2] ~ /^361x181\+/ && column[3] !~ /caption|border|dlgframe|thickframe/)
                splash = 1
            else if (column[1] ~ /qimlar\.exe$/) others = 1
        }
        if (splash && shown) { print "the splash beside the main window:\n" $0; exit 1 }
        if (!seen && (shown || others)) { print "not the splash first:\n" $0; exit 1 }
        if (splash) seen = 1
    }
    END { if (!seen) { print "no splash was shown"; exit 1 } }' "$work/start" >"$work/order" ||
    fail "$(cat "$work/order")"

# The main window: a minimize box, and neither a maximize box nor a resizing frame.
look
style=" $(field "$main_title" 3) "
case "$style" in *" minimizebox "*) ;; *) fail "no minimize box: $style" ;; esac
case "$style" in *" maximizebox "* | *" thickframe "*) fail "resizable or maximizable: $style" ;; esac

# Places within the main window's X window, which holds its client area alone: the menu bar,
# then the picture of 361 x 183 pixels with the buttons on it (twips / 15).
main=$(x_window "$main_title")
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(WIDTH|HEIGHT)=')"
width=$WIDTH
menu_bar=$((HEIGHT - 183))

# The search button from the keyboard: it has the focus. Cancelled, the search finds nothing.
xdotool windowfocus --sync "$main" key space
watch shown "$prompt_title"
xdotool windowfocus --sync "$(x_window "$prompt_title")" key Escape
watch gone "$prompt_title"

# Then by a click, where the search has moved it; txt and Enter answer notepad.exe, and the run
# button starts it.
click "$main" 180 $((menu_bar + 104 + 16)) "$main_title"
watch shown "$prompt_title"
xdotool windowfocus --sync "$(x_window "$prompt_title")" type txt
xdotool key Return
watch gone "$prompt_title"
click "$main" 248 $((menu_bar + 144 + 12)) "$main_title"
for attempt in $(seq 120); do
    look
    # From the environment, as awk -v would read the path's backslashes as escapes.
    notepad_title=$(program=$notepad awk -F '\t' \
        'tolower($1) == tolower(ENVIRON["program"]) { print $4; exit }' "$work/windows")
    [ -n "$notepad_title" ] && break
    sleep 0.5
done
[ -n "$notepad_title" ] || fail "the run button started no $notepad"
# Notepad opens over the main window; it is moved aside, as a user would drag it.
xdotool windowmove --sync "$(x_window "$notepad_title")" 700 0

# While Notepad runs the window answers, and a click on the search button opens no prompt.
on_wine "$probe" answers "$main_title" || fail "the main window does not answer while Notepad runs"
click "$main" 180 $((menu_bar + 104 + 16)) "$main_title"
! on_wine "$probe" watch shown "$prompt_title" 5 >"$work/watch" ||
    fail "a click while Notepad runs opened the prompt"
on_wine "$probe" answers "$main_title" || fail "the main window does not answer while Notepad runs"
on_wine "$probe" close "$notepad_title" || fail "Notepad's window could not be closed"
watch gone "$notepad_title"
# Its window goes before its process ends, and the window takes input again only after that.
for attempt in $(seq 120); do
    on_wine "$probe" running "$notepad" || break
    [ "$attempt" -lt 120 ] || fail "Notepad did not end"
    sleep 0.5
done

# The help windows, each asked for twice. Input is taken in order, so once a later window has
# opened, the earlier asks (and the click made while Notepad ran) have all been done.
help_entry 1
watch shown "$about_title"
help_entry 1
help_entry 2
watch shown "$usefulness_title"
help_entry 2
# Afterwards the window answers again: a click opens the prompt. The help windows are centred on
# the screen, over the main window's middle: the click is near the button's left end.
click "$main" 16 $((menu_bar + 104 + 16)) "$main_title"
watch shown "$prompt_title"
[ "$(count "$about_title")" -eq 1 ] || fail "not one About window"
[ "$(count "$usefulness_title")" -eq 1 ] || fail "not one usefulness window"
[ "$(count "$prompt_title")" -eq 1 ] || fail "not one prompt"
xdotool windowfocus --sync "$(x_window "$prompt_title")" key Escape
watch gone "$prompt_title"

# The help windows close by their close boxes; then, no longer under them, the exit button ends
# the program, with status 0.
for title in "$about_title" "$usefulness_title"; do
    on_wine "$probe" close "$title" || fail "the window titled '$title' could not be closed"
    watch gone "$title"
done
click "$main" 112 $((menu_bar + 144 + 12)) "$main_title"
for attempt in $(seq 600); do
    kill -0 "$qimlar_pid" 2>/dev/null || break
    [ "$attempt" -lt 600 ] || fail "the exit button did not end qimlar.exe"
    sleep 0.1
done
status=0
wait "$qimlar_pid" || status=$?
[ "$status" -eq 0 ] || fail "qimlar.exe ended with status $status"
