#!/bin/sh
# Runs a window test on a private X server (Xvfb, a display it picks itself) with the openbox window
# manager, and stops both afterwards. Exit code 77 (skipped) when either is not installed.
test_program="$1"; shift
for tool in Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: desktop tests skipped"; exit 77; }
done
work=$(mktemp -d) || exit 1
xvfb_pid= ; wm_pid=
finish() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT INT TERM
# -noreset: the server keeps its keyboard set-up when a client leaves.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for i in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
DISPLAY=":$(cat "$work/display")"; export DISPLAY
# An X11 session, even when the tests are started from a Wayland desktop.
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
HOME="$work"; export HOME # openbox's own settings, not the user's
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for i in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
# A private session bus of its own where there is one: the accessibility bus (what a screen reader
# hears) is started on it, and the test listens there. The program then talks to it as it would to
# a screen reader's.
VT_ATSPI_LISTENER="$(dirname "$0")/atspi-listen.py"; export VT_ATSPI_LISTENER
# A desktop session starts the accessibility bus at login; the program only joins one already started.
if command -v dbus-run-session >/dev/null 2>&1 && command -v dbus-send >/dev/null 2>&1; then
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb dbus-run-session -- sh -c '
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1
        exec "$0" "$@"' "$test_program" "$@"
else
    QT_QPA_PLATFORM=xcb "$test_program" "$@"
fi
