#!/usr/bin/env bash
# Start-up, memory and idle figures of the program, under a private Xvfb.
#   bench/startup.sh [RUNS]     (after a release build: cmake --preset release && cmake --build --preset release)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
bench=build/release/bench/startupBench
[ -x "$bench" ] || { echo "build the release preset first" >&2; exit 2; }
work=$(mktemp -d)
display=:$((50 + RANDOM % 40))
Xvfb "$display" -screen 0 1280x1024x24 -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'rm -rf "$work"; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
# A program folder as installed: the program and its data, no students and no settings yet.
fresh() {
    rm -rf "$work/folder"
    cp -r build/velotecla/. "$work/folder"/
    rm -rf "$work/folder/users" "$work/folder/velotecla.INI" "$work/folder/velotecla.reg"
}
export DISPLAY=$display
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
cp build/release/bench/bareWindow "$work/folder"/
echo "a bare Qt window with one line of text, repeated starts (the floor):"
"$bench" "$work/folder" "$runs" --starts-only --program bareWindow | grep mapped | sed 's/^/  /'
