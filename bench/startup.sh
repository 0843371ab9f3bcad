#!/usr/bin/env bash
# Start-up, memory and idle figures of the program, under a private Xvfb.
#   bench/startup.sh [RUNS]     (after a release build: cmake --preset release && cmake --build --preset release)
# VT_BUILD_DIR (default build/release) and VT_PROGRAM_DIR (default build/velotecla) name another build
# tree and program folder, as the smoke run in the tests does.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
build=${VT_BUILD_DIR:-build/release}
program=${VT_PROGRAM_DIR:-build/velotecla}
bench=$build/bench/startupBench
[ -x "$bench" ] || { echo "build the release preset first" >&2; exit 2; }
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'rm -rf "$work"; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=:$(head -n1 "$work/display")
# A program folder as installed: the program and its data, no students and no settings yet.
fresh() {
    rm -rf "$work/folder"
    cp -r "$program"/. "$work/folder"/
    rm -rf "$work/folder/users" "$work/folder/velotecla.INI" "$work/folder/velotecla.reg"
}
export DISPLAY=$display
unset QT_QPA_PLATFORM # the program must reach this X server, whatever the caller chose
echo "first starts, each in a new empty program folder (5):"
for _ in $(seq 5); do
    fresh
    "$bench" "$work/folder" 1 --starts-only
done | awk '/mapped/ {m = m " " $7} /drawn/ {d = d " " $8}
    END {print "  splash mapped (ms):" m; print "  splash picture drawn (ms):" d}'
echo "repeated starts in one program folder:"
fresh
"$bench" "$work/folder" "$runs" | sed 's/^/  /'
# The same measure for a bare Qt window, right after: what the machine allows at the moment.
cp "$build"/bench/bareWindow "$work/folder"/
echo "a bare Qt window with one line of text, repeated starts (the floor):"
"$bench" "$work/folder" "$runs" --starts-only --program bareWindow | grep mapped | sed 's/^/  /'
