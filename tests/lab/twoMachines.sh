#!/bin/sh
# Two lab machines on one data folder. Each is a pair of namespaces of its own, host name and process
# ids (so both may hold a lock as process 2, and neither can see the other's processes), and machine B's
# clock runs 2 minutes ahead (libfaketime). The same student at both at once; a live lock of each held
# for seconds while the other stores (waited for, never taken); a dead lock of each (its holder killed)
# taken over by the other within the stale time, and every store after it at once. Every file of every
# student then holds every exercise.
# Usage: twoMachines.sh <vt-labstore>. Needs root, unshare and nsenter (util-linux) and libfaketime;
# exit 77 (skipped) without them.
set -u
store=$1
. "$(dirname "$0")/common.sh"
[ "$(id -u)" = 0 ] || skip "as duas máquinas precisam de root (namespaces)"
for tool in unshare nsenter hostname; do
    command -v "$tool" >/dev/null 2>&1 || skip "falta $tool (pacote util-linux)"
done
faketime=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[ -n "$faketime" ] || skip "falta a libfaketime (pacote libfaketime)"

T=$(mktemp -d /tmp/vt-duas.XXXXXX)
mkdir "$T/dados" "$T/home"
holders=
cleanup() {
    for p in $holders; do kill "$p" 2>/dev/null; done
    rm -rf "$T"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A machine is a process that holds its namespaces; everything "at" it is entered into them.
start_machine() { # name: sets $inner, the machine's first process
    unshare --uts --pid --fork sh -c "hostname $1 && exec sleep 3600" >/dev/null 2>&1 &
    outer=$!
    holders="$holders $outer"
    inner=
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        inner=$(pgrep -P "$outer" sleep) && break
        sleep 0.2
    done
    [ -n "$inner" ] || skip "os namespaces não puderam ser feitos aqui"
}
start_machine maquina-a
A=$inner
start_machine maquina-b
B=$inner
at() { # machine (A or B) student lesson count [mode]
    machine=$1
    shift
    if [ "$machine" = A ]; then
        nsenter -t "$A" --uts --pid -- env HOME="$T/home" VELOTECLA_DADOS="$T/dados" "$store" "$@"
    else
        # An address-sanitised build lets the clock's library load before its own.
        nsenter -t "$B" --uts --pid -- env HOME="$T/home" VELOTECLA_DADOS="$T/dados" \
            LD_PRELOAD="$faketime" FAKETIME=+2m ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
            "$store" "$@"
    fi
}
check "a máquina B está 2 minutos adiantada" \
    test "$(($(nsenter -t "$B" -- env LD_PRELOAD="$faketime" FAKETIME=+2m date +%s) - $(date +%s)))" -ge 119
check "cada máquina com seu nome" test "$(nsenter -t "$A" --uts hostname) $(nsenter -t "$B" --uts hostname)" = \
    "maquina-a maquina-b"

value() { # file key
    sed -n "s/^$2=\\([0-9]*\\)\\r\$/\\1/p" "$T/dados/$1"
}
exact() { # student exercises
    check "$1: $2 exercícios no perfil, no resultado da aula e no histórico" test \
        "$(value "users/$1" WordOK) $(value "aulas/aula3_$1.def" WordOK) $(($(wc -l <"$T/dados/historico/$1.csv") - 1))" = \
        "$((10 * $2)) $((10 * $2)) $2"
}
longest() { # output of a store: the longest of its stores after the first, in ms
    sed -n 's/.*a mais longa das outras: \([0-9]*\) ms.*/\1/p' "$1"
}
first() {
    sed -n 's/^primeira gravação: \([0-9]*\) ms.*/\1/p' "$1"
}

# The same student at both machines at once.
n=15
at A Caio 3 $n >"$T/a.out" &
a=$!
at B Caio 3 $n >"$T/b.out" &
wait $a
ra=$?
wait $!
check "o mesmo aluno nas duas máquinas: todos gravados" test "$ra$?" = 00
exact Caio $((2 * n))
# No store waited for a lock as for a dead one: each waits only while the other writes.
check "nenhuma gravação esperou por uma trava como morta" \
    test "$(cat "$T/a.out" "$T/b.out" | sed -n 's/.*: \([0-9]*\) ms; .*: \([0-9]*\) ms/\1\n\2/p' | sort -n | tail -n 1)" -lt 9000

# A live lock at each machine, held 4 s (a store on a slow mount) while the other stores: waited for, not
# taken, whichever clock is ahead. Both ways at once, with two students.
live() { # holder other student
    at "$1" "$3" 3 4 trava >"$T/hold-$3" &
    holder=$!
    for _ in $(seq 50); do
        grep -q travada "$T/hold-$3" 2>/dev/null && break
        sleep 0.1
    done
    at "$2" "$3" 3 1 >"$T/store-$3"
    stored=$?
    wait $holder
    held=$?
    check "a trava viva de $1 esperada por $2, não tomada" test "$held$stored" = 00
}
live A B Ana &
la=$!
live B A Bia
wait $la
exact Ana 1
exact Bia 1

# A dead lock at each machine (its holder killed holding it): the other takes it over once the stale time
# has passed, whatever date it carries, and stores at once after that.
dead() { # holder other student
    at "$1" "$3" 3 1 morre >/dev/null
    at "$2" "$3" 3 3 >"$T/dead-$3" 2>"$T/dead-$3.err"
    rc=$?
    check "a trava morta de $1 tomada por $2 após $(first "$T/dead-$3") ms, sem aviso $(cat "$T/dead-$3.err")" \
        test $rc = 0 -a ! -s "$T/dead-$3.err"
    check "as gravações depois dela sem espera ($(longest "$T/dead-$3") ms)" test "$(longest "$T/dead-$3")" -lt 9000
}
dead B A Dora &
da=$!
dead A B Eva
wait $da
exact Dora 3
exact Eva 3
left=$(find "$T/dados" -name '.*.trava' -o -name '.*.tomada' -o -name '*.tmp')
check "nenhuma trava ou temporário deixado${left:+: $left}" test -z "$left"

! failed || {
    ls -laR "$T/dados"
    exit 1
}
echo "duas máquinas, um relógio adiantado: tudo certo"
