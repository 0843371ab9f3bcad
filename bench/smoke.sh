#!/usr/bin/env bash
# A smoke run of one benchmark: it must run to its end (exit 0) and print every figure it is expected
# to print. Times are never judged here; they are read by a person from a release build.
#   bench/smoke.sh [--x] [--expect REGEX]... -- COMMAND [ARG]...
# --x runs the command under a private Xvfb (its own free display, kept with -noreset).
set -euo pipefail
x=0
expects=()
while [ $# -gt 0 ]; do
    case $1 in
    --x) x=1 ;;
    --expect) expects+=("$2"); shift ;;
    --) shift; break ;;
    *) echo "smoke.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
out=$(mktemp)
cleanup() { rm -f "$out"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
if [ $x = 1 ]; then
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
    [ -s "$fdfile" ] || { echo "smoke.sh: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(head -n1 "$fdfile")
    rm -f "$fdfile"
    unset QT_QPA_PLATFORM
fi
status=0
"$@" >"$out" 2>&1 || status=$?
cat "$out"
if [ $status -ne 0 ]; then
    echo "smoke.sh: '$*' ended with status $status" >&2
    exit 1
fi
for e in "${expects[@]}"; do
    grep -Eq -- "$e" "$out" || { echo "smoke.sh: no line matching '$e'" >&2; exit 1; }
done
echo "smoke.sh: ran to its end"
