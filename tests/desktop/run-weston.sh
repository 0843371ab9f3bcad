#!/bin/sh
# Runs a window test under a private headless Wayland compositor (weston) with its X server
# (XWayland): once as the program starts there by itself, once with QT_QPA_PLATFORM=wayland forced.
# Then, where Xvfb and xdotool are installed, the tests of real keys (SEAT_TESTS) both ways again under
# a weston with a keyboard: the headless one has none, so no key ever reaches a window there. That
# weston draws into a private Xvfb and reads its keyboard from it; xdotool types there (VT_SEAT_DISPLAY).
# Exit code 77 (skipped) only when weston cannot start at all on this machine.
test_program="$1"; shift
command -v weston >/dev/null 2>&1 || { echo "weston is not installed: Wayland test skipped"; exit 77; }
work=$(mktemp -d) || exit 1
chmod 700 "$work"
SEAT_TESTS="keysReachTheCatalogueAfterTheAccessDialog"
weston_pid= ; xvfb_pid=
finish() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT INT TERM
XDG_RUNTIME_DIR="$work"; export XDG_RUNTIME_DIR
HOME="$work"; export HOME
socket="velotecla-$$"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# Starts weston with the back-end named ($1) and its further options; sets DISPLAY to its XWayland.
start_weston() {
    backend="$1"; shift
    rm -f "$work/weston.log"
    weston --backend="$backend" --socket="$socket" --width=1280 --height=1024 --use-pixman \
        --debug --xwayland --idle-time=0 "$@" >"$work/weston.log" 2>&1 &
    weston_pid=$!
    for i in $(seq 100); do
        [ -S "$work/$socket" ] && grep -q 'xserver listening on display' "$work/weston.log" && break
        kill -0 "$weston_pid" 2>/dev/null || break
        sleep 0.05
    done
    [ -S "$work/$socket" ] || return 77
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n 1)
    export DISPLAY
    [ -n "$DISPLAY" ] || { echo "weston started without XWayland"; cat "$work/weston.log"; return 1; }
}
WAYLAND_DISPLAY="$socket"; export WAYLAND_DISPLAY
start_weston headless-backend.so
case $? in
0) ;;
77) echo "weston cannot start here: Wayland test skipped"; cat "$work/weston.log"; exit 77 ;;
*) exit 1 ;;
esac
status=0
echo "== as the program starts in a Wayland session (through XWayland)"
"$test_program" "$@" || status=1
echo "== with QT_QPA_PLATFORM=wayland"
QT_QPA_PLATFORM=wayland "$test_program" "$@" || status=1
kill "$weston_pid"; wait "$weston_pid" 2>/dev/null; weston_pid=
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
    echo "Xvfb or xdotool is not installed: the tests of real keys skipped"
    exit $status
fi
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for i in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
VT_SEAT_DISPLAY=":$(cat "$work/display")"; export VT_SEAT_DISPLAY
DISPLAY="$VT_SEAT_DISPLAY" start_weston x11-backend.so || { cat "$work/weston.log"; exit 1; }
# The pointer over weston's window: the X server sends the keys to the window under it.
DISPLAY="$VT_SEAT_DISPLAY" xdotool mousemove 640 512
echo "== real keys, through XWayland"
"$test_program" $SEAT_TESTS || status=1
echo "== real keys, with QT_QPA_PLATFORM=wayland"
QT_QPA_PLATFORM=wayland "$test_program" $SEAT_TESTS || status=1
exit $status
