#!/bin/sh
# Runs a window test under a private headless Wayland compositor (weston) with its X server
# (XWayland): once as the program starts there by itself, once with QT_QPA_PLATFORM=wayland forced.
# Exit code 77 (skipped) only when weston cannot start at all on this machine.
test_program="$1"; shift
command -v weston >/dev/null 2>&1 || { echo "weston is not installed: Wayland test skipped"; exit 77; }
work=$(mktemp -d) || exit 1
chmod 700 "$work"
weston_pid=
finish() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT INT TERM
XDG_RUNTIME_DIR="$work"; export XDG_RUNTIME_DIR
HOME="$work"; export HOME
socket="velotecla-$$"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
weston --backend=headless-backend.so --socket="$socket" --width=1280 --height=1024 --use-pixman \
    --debug --xwayland --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
for i in $(seq 100); do
    [ -S "$work/$socket" ] && grep -q 'xserver listening on display' "$work/weston.log" && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.05
done
if ! [ -S "$work/$socket" ]; then
    echo "weston cannot start here: Wayland test skipped"; cat "$work/weston.log"; exit 77
fi
display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n 1)
[ -n "$display" ] || { echo "weston started without XWayland"; cat "$work/weston.log"; exit 1; }
WAYLAND_DISPLAY="$socket"; export WAYLAND_DISPLAY
DISPLAY="$display"; export DISPLAY
status=0
echo "== as the program starts in a Wayland session (through XWayland)"
"$test_program" "$@" || status=1
echo "== with QT_QPA_PLATFORM=wayland"
QT_QPA_PLATFORM=wayland "$test_program" "$@" || status=1
exit $status
