#!/usr/bin/env bash
# Start-up, memory and idle figures of the program, under a private Xvfb.
#   bench/startup.sh [RUNS]     (after a release build: cmake --preset release && cmake --build --preset release)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
bench=build/release/bench/startupBench
[ -x "$bench" ] || { echo "build the release preset first" >&2; exit 2; }
folder=$(mktemp -d)
trap 'rm -rf "$folder"; kill $xvfb 2>/dev/null || true' EXIT
cp -r build/velotecla/. "$folder"/
rm -rf "$folder/users" "$folder/velotecla.INI" "$folder/velotecla.reg"
display=:$((50 + RANDOM % 40))
Xvfb "$display" -screen 0 1280x1024x24 -noreset >/dev/null 2>&1 &
xvfb=$!
sleep 1
echo "first start, empty program folder:"
DISPLAY=$display "$bench" "$folder" 1 | sed -n 2p
echo "repeated starts:"
DISPLAY=$display "$bench" "$folder" "$runs"
