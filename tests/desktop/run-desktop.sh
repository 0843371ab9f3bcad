#!/bin/sh
# Runs a window test on a private X server (Xvfb, a display it picks itself) with a window manager
# (openbox, or the one VT_WINDOW_MANAGER names: openbox or xfwm4), and stops both afterwards. The
# screen is 1280x1024 unless VT_SCREEN gives another size (1024x768).
# Exit code 77 (skipped) when one of them is not installed.
test_program="$1"; shift
wm="${VT_WINDOW_MANAGER:-openbox}"
for tool in Xvfb "$wm" xdotool xprop; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: desktop tests skipped"; exit 77; }
done
# A private session bus of its own where there is one, for the whole run: the accessibility bus (what
# a screen reader hears) is started on it and the test listens there, and xfwm4 reads its settings
# through it. The program then talks to it as it would to a screen reader's.
if [ -z "$VT_DESKTOP_BUS" ] && command -v dbus-run-session >/dev/null 2>&1 &&
    command -v dbus-send >/dev/null 2>&1; then
    VT_DESKTOP_BUS=1 exec dbus-run-session -- "$0" "$test_program" "$@"
fi
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
Xvfb -displayfd 3 -screen 0 "${VT_SCREEN:-1280x1024}x24" -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for i in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
DISPLAY=":$(cat "$work/display")"; export DISPLAY
# An X11 session, even when the tests are started from a Wayland desktop.
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
HOME="$work"; export HOME # the window manager's own settings, not the user's
XDG_CONFIG_HOME="$work/.config"; export XDG_CONFIG_HOME
case "$wm" in
# xfwm4 without its compositor: Xvfb has no GL, and a compositor only delays what a test looks at.
xfwm4) xfwm4 --compositor=off --sm-client-disable >"$work/wm.log" 2>&1 & ;;
*) "$wm" --sm-disable >"$work/wm.log" 2>&1 & ;;
esac
wm_pid=$!
for i in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
VT_ATSPI_LISTENER="$(dirname "$0")/atspi-listen.py"; export VT_ATSPI_LISTENER
if [ -n "$VT_DESKTOP_BUS" ]; then
    # A desktop session starts the accessibility bus at login; the program only joins one already started.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$test_program" "$@"
else
    QT_QPA_PLATFORM=xcb "$test_program" "$@"
fi
