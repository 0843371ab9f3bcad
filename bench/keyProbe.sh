#!/bin/sh
# Usage: DISPLAY=:N bench/keyProbe.sh build/dev/bench/keyProbe
# Presses every key of the on-screen keyboard (and the ABNT2 extra key) by X keycode, under the US
# layout and then the Brazilian ABNT2 one, and prints "keycode code-under-US code-under-ABNT2".
# Needs xdotool and setxkbmap; start Xvfb with -noreset so that it keeps the layout.
set -e
probe=${1:-build/dev/bench/keyProbe}
keys="49 10 11 12 13 14 15 16 17 18 19 20 21 51 22 24 25 26 27 28 29 30 31 32 33 34 35 36 66 38 39 40 41
42 43 44 45 46 47 48 50 52 53 54 55 56 57 58 59 60 61 62 65 97"
out=$(mktemp -d)
for layout in us br; do
    if [ $layout = br ]; then setxkbmap -model abnt2 -layout br; else setxkbmap -layout us; fi
    "$probe" > "$out/$layout" 2>/dev/null &
    pid=$!
    sleep 1.5
    for k in $keys; do xdotool key "$k"; done
    sleep 0.5
    kill $pid
done
setxkbmap -layout us
paste -d' ' "$out/us" "$out/br" | awk '{ print $1, $2, $4 }'
rm -r "$out"
