#!/bin/sh
# The teacher's tools as the README uses them in a program folder: every shipped lesson shown as text
# compiles back to the same file, and vt-figura redraws a lesson picture as the build drew it.
# Arguments: vt-aula, vt-figura, the folder of the program's data.
set -e
aula=$1 figura=$2 data=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data/aulas" "$data/images" "$work/"
for n in $(seq 1 24); do
    "$aula" show "$work/aulas/aula$n.aul" > "$work/aula$n.txt"
    "$aula" compile "$work/aula$n.txt" "$work/aulas/aula$n.aul" 2> "$work/warnings"
    cmp "$data/aulas/aula$n.aul" "$work/aulas/aula$n.aul"
    if [ -s "$work/warnings" ]; then cat "$work/warnings"; exit 1; fi
done
rm "$work/images/aula5.jpg" "$work/images/aula18.jpg"
QT_QPA_PLATFORM= "$figura" "$work" 5 18
cmp "$data/images/aula5.jpg" "$work/images/aula5.jpg"
cmp "$data/images/aula18.jpg" "$work/images/aula18.jpg"
# A description that no longer shows the text is compiled with a warning.
sed 's/^asdf asdf.*/(texto apagado)/' "$work/aula1.txt" > "$work/changed.txt"
"$aula" compile "$work/changed.txt" "$work/aulas/aula1.aul" 2> "$work/warnings"
grep -q 'aviso: as primeiras linhas da descrição não mostram o texto "asdf"' "$work/warnings"
# In a data folder shared by a group (set-group-id), what the tools make is the group's whatever the
# umask: every member's program reads the picture and every member's vt-figura can redraw it.
shared="$work/compartilhada"
mkdir -p "$shared/aulas" "$work/alheia"
cp "$data"/aulas/aula*.aul "$shared/aulas/"
chmod 2770 "$shared" "$shared/aulas"
mkdir -m 2700 "$shared/images" # as an earlier vt-figura left it under umask 077: its owner opens it again
(
    umask 077
    "$aula" compile "$work/aula5.txt" "$shared/aulas/aula5.aul"
    QT_QPA_PLATFORM= "$figura" "$shared" 5
)
[ "$(stat -c %a "$shared/images")" = 2770 ]
[ "$(stat -c %a "$shared/images/aula5.jpg")" = 660 ]
[ "$(stat -c %a "$shared/aulas/aula5.aul")" = 660 ]
# A link planted there for images/ is refused in Portuguese and named; nothing is written where it points.
rm -r "$shared/images"
ln -s "$work/alheia" "$shared/images"
if QT_QPA_PLATFORM= "$figura" "$shared" 5 2> "$work/err"; then exit 1; fi
grep -q '^vt-figura: A entrada "images" da pasta de dados .* é um link' "$work/err"
[ -z "$(ls -A "$work/alheia")" ]
# Wrong lesson numbers and a folder without lessons are refused.
if "$figura" "$work" 25 2> "$work/err"; then exit 1; fi
grep -q '"25" não é um número de aula' "$work/err"
if "$figura" "$work/nada" 2> "$work/err"; then exit 1; fi
grep -q 'falta o arquivo de aula' "$work/err"
echo ok
