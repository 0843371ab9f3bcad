#!/bin/sh
# A store killed at each of its system calls in turn (strace's fault injection: the Nth call of a kind
# is answered with SIGKILL before it runs), and after each kill the next log-in: the lesson result
# file, the profile and the history must hold the same exercises every time, one more or none.
# Usage: storeKill.sh <vt-storestep>. Exit 77 (skipped) without strace or where it may not trace.
set -u
step=$1
command -v strace >/dev/null 2>&1 || { echo "SKIP: sem strace"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data=$work/dados
mkdir -p "$data/users" "$data/aulas"
printf '[Aula1]\r\nHabilitado=1\r\n' >"$data/users/ana"
"$step" "$data" store || { echo "FAIL: a store without a kill"; exit 1; }
# The store's calls: every call between the two getppid() marks, named by kind and its ordinal among
# the calls of that kind since the process began.
strace -f -qq -o "$work/trace" "$step" "$data" store >/dev/null 2>&1 || { echo "SKIP: strace may not trace here"; exit 77; }
awk '{ sub(/^[0-9]+ +/, ""); n = $0; sub(/\(.*/, "", n); if (n !~ /^[a-z_0-9]+$/) next;
       seen[n]++; if (n == "getppid") { inside = !inside; next } if (inside) print n, seen[n] }' \
    "$work/trace" >"$work/calls"
calls=$(wc -l <"$work/calls")
[ "$calls" -gt 20 ] || { echo "FAIL: only $calls calls traced"; exit 1; }
before=$("$step" "$data" login) || { echo "FAIL: files differ before: $before"; exit 1; }
killed=0
while read -r name nth; do
    strace -f -qq -o /dev/null -e trace="$name" -e inject="$name":signal=KILL:when="$nth" \
        "$step" "$data" store >/dev/null 2>&1
    [ $? -ne 0 ] && killed=$((killed + 1))
    after=$("$step" "$data" login) || { echo "FAIL: killed at $name #$nth, next log-in: $after"; exit 1; }
    b=${before%% *}
    a=${after%% *}
    if [ "$a" -ne "$b" ] && [ "$a" -ne $((b + 1)) ]; then
        echo "FAIL: killed at $name #$nth: $before, then $after"
        exit 1
    fi
    before=$after
done <"$work/calls"
ls -A "$data/users" | grep -v '^ana$' | grep -v '\.tmp$' && { echo "FAIL: left in users/"; exit 1; }
echo "$calls calls of the store, $killed kills, the three files agreed after every one ($after)"
[ "$killed" -gt 0 ] || { echo "FAIL: no kill"; exit 1; }
