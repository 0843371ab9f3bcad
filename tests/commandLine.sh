#!/bin/sh
# The command lines of the programs and the teacher's tools, as a user or a script meets them: no
# display, so --help and --version must answer before the toolkit starts; all take their version from
# the project's VERSION, and none makes a file or folder of an option.
#   commandLine.sh VELOTECLA VELOTECLA-RELATORIO VERSION_FILE VT-AULA VT-FIGURA
set -u
course=$1 report=$2 version=$(head -n1 "$3") aula=$4 figura=$5
out=$(mktemp) err=$(mktemp) here=$(mktemp -d)
trap 'rm -rf "$out" "$err" "$here"' EXIT
cd "$here" || exit 1
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
row "$aula" 0 out "^vt-aula $version\$" --version
row "$aula" 0 out "^Uso: vt-aula compile FONTE.txt AULA.aul" --help
row "$aula" 2 err "^vt-aula: opção desconhecida: --bogus" show --bogus
row "$aula" 2 err "^Uso: vt-aula" show
row "$figura" 0 out "^vt-figura $version\$" --version
row "$figura" 0 out "^Uso: vt-figura PASTA" -h
row "$figura" 2 err "^vt-figura: opção desconhecida: --bogus" --bogus 3
row "$figura" 2 err "^Uso: vt-figura"
if [ -n "$(ls -A)" ]; then
    echo "FAIL: an option made files or folders: $(ls -A)"
    failures=$((failures + 1))
fi
[ "$failures" = 0 ] && echo "command lines: every row passed"
[ "$failures" = 0 ]
