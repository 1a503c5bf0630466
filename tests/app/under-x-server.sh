#!/bin/sh
# Runs a window test program on a private X server: with a real window manager (openbox), so
# that windows get frames as on a desktop, or with --bare on the server alone. Exits 77
# (skipped) when what it needs is not installed.
manager=openbox
if [ "$1" = "--bare" ]; then
    manager=
    shift
fi
for tool in xvfb-run xprop $manager; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    manager=$1
    shift
    if [ -n "$manager" ]; then
        $manager >/dev/null 2>&1 &
        pid=$!
        # The window manager announces itself on the root window once it manages windows.
        tries=0
        until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
            tries=$((tries + 1))
            if [ $tries -gt 100 ]; then echo "$manager did not start"; kill $pid; exit 1; fi
            sleep 0.1
        done
    fi
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    [ -n "$manager" ] && kill $pid
    exit $status
' sh "$manager" "$@"
