#!/bin/sh
# The command lines of both programs, as a user or a script meets them: no display, so --help and
# --version must answer before the toolkit starts; both take their version from the project's VERSION.
#   commandLine.sh VELOTECLA VELOTECLA-RELATORIO VERSION_FILE
set -u
course=$1 report=$2 version=$(head -n1 "$3")
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0
# program, expected exit code, where the answer goes (out/err), a pattern it holds, arguments...
row() {
    program=$1 code=$2 stream=$3 pattern=$4
    shift 4
    env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@" >"$out" 2>"$err" </dev/null
    rc=$?
    if [ "$stream" = out ]; then answer=$out silent=$err; else answer=$err silent=$out; fi
    if [ "$rc" != "$code" ] || ! grep -q -- "$pattern" "$answer" || [ -s "$silent" ]; then
        echo "FAIL: $(basename "$program") $*: exit $rc, out: $(cat "$out"), err: $(cat "$err")"
        failures=$((failures + 1))
    fi
}
row "$course" 0 out "^velotecla $version\$" --version
row "$course" 0 out "^velotecla $version\$" -v
row "$course" 0 out "^Uso: velotecla" --help
row "$course" 0 out "^Uso: velotecla" -platform offscreen --help
row "$course" 2 err "^velotecla: opção desconhecida: --bogus" --bogus
row "$course" 2 err "^Uso: velotecla" --bogus
row "$course" 2 err "^velotecla: argumento inesperado: aluno" aluno
row "$report" 0 out "^velotecla-relatorio $version\$" --version
row "$report" 0 out "^Uso: velotecla-relatorio" --help
row "$report" 0 out "--csv " -h
row "$report" 0 out "--csv-teclas " -h
row "$report" 2 err "^velotecla-relatorio: opção desconhecida: -x" -x
row "$report" 2 err "^velotecla-relatorio: argumento inesperado: turma.csv" --csv turma.csv
[ "$failures" = 0 ] && echo "command lines: every row passed"
[ "$failures" = 0 ]
