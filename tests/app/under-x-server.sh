#!/bin/sh
# Runs a window test program on a private X server: with a real window manager (openbox), so
# that windows get frames as on a desktop, or with --bare on the server alone. Exits 77
# (skipped) when what it needs is not installed.
#
# The server picks its own free display (-displayfd), so any number of these can start at
# once. What the server and the window manager print is kept and shown when they fail.
manager=openbox
if [ "$1" = "--bare" ]; then
    manager=
    shift
fi
for tool in Xvfb xprop $manager; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done

dir=$(mktemp -d /tmp/kadrix-x-XXXXXX)
server=
wm=
finish() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$dir"
}
trap finish EXIT
trap 'exit 1' INT TERM

fail() {
    echo "$1"
    for log in "$dir"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")"; cat "$log"; }
    done
    exit 1
}

# Waits up to 30 s for a condition, giving up early when the process it waits on has ended.
wait_for() {
    pid=$1
    shift
    tries=0
    until "$@"; do
        kill -0 "$pid" 2>/dev/null || return 1
        tries=$((tries + 1))
        [ $tries -gt 300 ] && return 1
        sleep 0.1
    done
}

display_known() { grep -q '^[0-9][0-9]*$' "$dir/display" 2>/dev/null; }
manager_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
server=$!
wait_for $server display_known || fail "the X server did not start"
DISPLAY=:$(cat "$dir/display")
export DISPLAY
unset XAUTHORITY

if [ -n "$manager" ]; then
    # The window manager announces itself on the root window once it manages windows.
    $manager >"$dir/$manager.log" 2>&1 &
    wm=$!
    wait_for $wm manager_ready || fail "$manager did not start on display $DISPLAY"
fi

QT_QPA_PLATFORM=xcb "$@"
status=$?
exit $status
