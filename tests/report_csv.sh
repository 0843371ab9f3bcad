#!/bin/sh
# velotecla-relatorio --csv on a class folder of its own: the program reads the folder it lies in, so a
# copy of it goes into a temporary folder with two students and a damaged profile.
set -eu
program="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$program" "$dir/velotecla-relatorio"
mkdir "$dir/aulas" # a program folder of its own: the data lives beside the program
fail() { echo "FAIL: $*"; exit 1; }

# No users folder: a message, no output, a failure code. The folder is named, so that the machine's shared
# folder (where the program is installed) is not one the report may fall back to; the user's own is empty.
mkdir "$dir/empty-home"
if VELOTECLA_DADOS="$dir" HOME="$dir/empty-home" XDG_DATA_HOME= "$dir/velotecla-relatorio" --csv >"$dir/out" 2>"$dir/err"; then
    fail "a missing users folder passed"
fi
[ ! -s "$dir/out" ] || fail "output without a users folder"
grep -q "não pôde ser lida" "$dir/err" || fail "no message for the missing users folder"

mkdir "$dir/users"
printf '[Definition]\r\nControl=0\r\n[Config]\r\nCharOK=4000\r\nCharErr=200\r\nTempoTotal=00:30:00\r\nPorcent=93\r\n' >"$dir/users/ana"
printf '\000\000' >"$dir/users/dora"
# A lesson's line of the first format and a Reforço's of the later one: the last column counts the Reforço.
mkdir -p "$dir/historico"
today=$(date +%Y-%m-%d)
printf 'data_hora;aula;x\r\n%sT14:00:00-03:00;3;10;0;40;2;50;95;1\r\n%sT14:05:31-03:00;3;15;1;290;10;170;96;1;1;\r\n' "$today" "$today" >"$dir/historico/ana.csv"
: >"$dir/users/Bruno"
"$dir/velotecla-relatorio" --csv >"$dir/out" 2>"$dir/err" || fail "--csv failed: $(cat "$dir/err")"
printf '%s\r\n' \
    'Aluno;Nível;Teclado;Aulas concluídas;Aula atual;Palavras certas;Palavras erradas;Teclas certas;Teclas erradas;Acerto (%);Tempo total;Teclas por minuto;Diploma;Último exercício;Situação;Reforços' \
    "ana;Administrador;Padrão Americano ou ABNT I;0;1;0;0;4000;200;95;00:30:00;140;Não;$today;Em dia;1" \
    'Bruno;Aluno;Padrão Americano ou ABNT I;0;1;0;0;0;0;—;00:00:00;—;Não;;Sem exercícios;0' \
    'dora;—;—;—;—;—;—;—;—;—;—;—;—;;—;—' >"$dir/expected"
cmp "$dir/out" "$dir/expected" || { cat "$dir/out"; fail "the CSV differs"; }
[ ! -s "$dir/err" ] || fail "unexpected messages: $(cat "$dir/err")"
# Nothing was written into the class folder.
[ "$(LC_ALL=C ls -A "$dir/users" | tr '\n' ' ')" = "Bruno ana dora " ] || fail "the users folder changed"
[ ! -s "$dir/users/Bruno" ] || fail "a profile was written"
rm -r "$dir/historico"

# Dated histories, relative to today: the situations, the latest exercise's date and a period's figures.
day() { date -d "$1" +%F; }
cr=$(printf '\r')
line() { printf '%sT10:00:00-03:00;%s;10;0;%s;2;%s;95;%s\r\n' "$(day "$1")" "$2" "$3" "$4" "$5"; }
mkdir -p "$dir/historico"
{ printf 'data_hora;aula;palavras_certas;palavras_erradas;teclas_certas;teclas_erradas;segundos;acerto;aprovada;formato_1\r\n'
  line '40 days ago' 1 40 60 1; line '20 days ago' 2 40 60 1; } >"$dir/historico/ana.csv"
{ line '3 days ago' 1 40 30 1; line '2 days ago' 2 40 30 0; line '2 days ago' 2 40 30 0
  line 'today' 2 40 30 0; } >"$dir/historico/Bruno.csv"
printf '[Config]\r\nAulaAtual=1\r\nCharOK=160\r\nCharErr=8\r\nTempoTotal=00:02:00\r\n' >"$dir/users/Bruno"
"$dir/velotecla-relatorio" --csv >"$dir/out" 2>"$dir/err" || fail "--csv with histories: $(cat "$dir/err")"
grep -q "^ana;.*;$(day '20 days ago');Parado há 20 dias;0${cr}\$" "$dir/out" || fail "ana is not stopped: $(cat "$dir/out")"
grep -q "^Bruno;.*;00:02:00;84;Não;$(day today);Aula 2: 3 tentativas sem passar;0${cr}\$" "$dir/out" ||
    fail "Bruno is not stuck: $(cat "$dir/out")"
"$dir/velotecla-relatorio" --csv --desde "$(day '3 days ago')" --ate "$(day '1 day ago')" >"$dir/out" 2>"$dir/err" ||
    fail "--csv with a period: $(cat "$dir/err")"
head -n1 "$dir/out" | grep -q ';Situação;Reforços;Exercícios no período;Minutos no período;Aulas aprovadas no período'"${cr}\$" ||
    fail "no period columns: $(head -n1 "$dir/out")"
grep -q "^Bruno;.*;Aula 2: 3 tentativas sem passar;0;3;1,5;1${cr}\$" "$dir/out" || fail "Bruno's period: $(cat "$dir/out")"
grep -q "^ana;.*;Parado há 20 dias;0;0;0,0;0${cr}\$" "$dir/out" || fail "ana's period: $(cat "$dir/out")"
"$dir/velotecla-relatorio" --csv --ate "$(day '25 days ago')" | grep -q "^ana;.*;1;1,0;1${cr}\$" || fail "--ate alone"
for bad in 2026-02-30 31/12/2026 ontem; do
    if "$dir/velotecla-relatorio" --csv --desde "$bad" >"$dir/out" 2>"$dir/err"; then fail "--desde $bad passed"; fi
    grep -q "não é uma data (AAAA-MM-DD)" "$dir/err" && [ ! -s "$dir/out" ] || fail "--desde $bad: $(cat "$dir/err")"
done
set +e; "$dir/velotecla-relatorio" --csv --ate 2026-13-01 >/dev/null 2>&1; [ $? = 2 ] || fail "a bad date is not exit 2"; set -e
rm -r "$dir/historico"

# A formula for a name goes out as text.
: >"$dir/users/=1+1"
"$dir/velotecla-relatorio" --csv 2>"$dir/err" | grep -q "^'=1+1;Aluno;" || fail "a formula name went out as it is"
rm "$dir/users/=1+1"

# The keys over the whole history, on each student's layout; a history that cannot be read is said.
mkdir "$dir/historico"
printf 'data_hora;aula;palavras_certas;palavras_erradas;teclas_certas;teclas_erradas;segundos;acerto;aprovada;reforco;teclas;formato_2\r\n2026-12-01T10:00:00-03:00;2;1;1;9;1;30;90;0;0;32:2:2:800 186:2:1:500:1:0:0:0:76:1\r\n' >"$dir/historico/ana.csv"
mkdir "$dir/historico/Bruno.csv"
"$dir/velotecla-relatorio" --csv-teclas >"$dir/out" 2>"$dir/err" || fail "--csv-teclas failed: $(cat "$dir/err")"
printf '%s\r\n' 'Aluno;Tecla;Vezes;Certas;Trocadas;Esquecidas;Invertidas;A mais;No lugar' \
    'ana;Espaço;2;2;0;0;0;0;' 'ana;";";2;1;1;0;0;0;L' >"$dir/expected"
cmp "$dir/out" "$dir/expected" || { cat "$dir/out"; fail "the keys' CSV differs"; }
grep -q "^velotecla-relatorio: Bruno: O histórico não pôde ser lido" "$dir/err" || fail "no message: $(cat "$dir/err")"
rm -r "$dir/historico"

# A named data folder that does not exist is reported, not made.
if VELOTECLA_DADOS="$dir/nada" HOME="$dir/home" "$dir/velotecla-relatorio" --csv >"$dir/out" 2>"$dir/err"; then
    fail "a missing named folder passed"
fi
[ ! -e "$dir/nada" ] && [ ! -e "$dir/home" ] || fail "--csv made a folder"
grep -q "não pôde ser lida" "$dir/err" || fail "no message for the missing named folder: $(cat "$dir/err")"

# A teacher who may read the class folder but not write it sees the class (another OS user, when the
# test can become one; root reads everything).
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    chmod 755 "$dir" "$dir/users" "$dir/aulas"
    chmod 644 "$dir/users/ana" "$dir/users/Bruno"
    home=$(mktemp -d)
    chmod 777 "$home"
    setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" \
        "$dir/velotecla-relatorio" --csv >"$dir/out" 2>"$dir/err" || fail "read-only folder: $(cat "$dir/err")"
    grep -q "^ana;Administrador;" "$dir/out" || fail "the read-only class was not read: $(cat "$dir/out")"
    [ -z "$(ls -A "$home")" ] || fail "the report made files for the user: $(ls -A "$home")"
    rmdir "$home"
fi

# An unknown option: the usage, a failure code.
if "$dir/velotecla-relatorio" --turma >/dev/null 2>"$dir/err"; then fail "an unknown option passed"; fi
grep -q "Uso: velotecla-relatorio" "$dir/err" || fail "no usage text"
echo "ok"
