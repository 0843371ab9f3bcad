#!/usr/bin/env bash
# The Debian package on a real system: installs it, runs the installed program under a private Xvfb as
# two members of the group velotecla and one user outside it (each creates a student through the
# windows and leaves the program), prints a diploma to a PDF file through the installed printing module
# and plays a lesson's first sound through the installed sound module as each member, checks where each
# one's writes landed, removes the package and checks that the students are kept.
#
# Needs root: it installs a package and adds OS users. It never touches a real installation: where the
# package is installed or /var/lib/velotecla exists, it says so and is skipped. What a run makes is
# written down first (in $state), so a run that was killed is undone at the next start.
#
#   tests/install/installTest.sh PACKAGE.deb BUILD_DIR
set -euo pipefail

deb=$(readlink -f "$1")
build_dir=$(readlink -f "$2")
version=$(head -n1 "$(dirname "$(readlink -f "$0")")/../../VERSION")
data=/var/lib/velotecla
members=(vtteste-ana vtteste-bia)
outsider=vtteste-caio
title='Velotecla - Curso de Datilografia by tavoli'
state=/var/tmp/velotecla-install-test.state

if [ "$(id -u)" != 0 ]; then
    echo "install test: not run, it needs root (it installs the package and adds OS users)"
    exit 0
fi

# Removes the test's users once their processes have ended (userdel refuses a user who still runs
# something), then, if $state says this test installed it, the package, its shared folder and its group.
undo() {
    local u
    for u in "${members[@]}" "$outsider"; do
        id "$u" >/dev/null 2>&1 || continue
        pkill -KILL -u "$u" 2>/dev/null || true
        for _ in $(seq 100); do pgrep -u "$u" >/dev/null || break; sleep 0.1; done
        userdel -r "$u" >/dev/null 2>&1 || echo "install test: the user $u could not be removed" >&2
    done
    [ -f "$state" ] || return 0
    local made_group=no
    . "$state"
    if dpkg -s velotecla >/dev/null 2>&1; then dpkg --purge velotecla >/dev/null 2>&1 || true; fi
    rm -rf "$data"
    if [ "$made_group" = yes ] && getent group velotecla >/dev/null; then groupdel velotecla; fi
    rm -f "$state"
}

if [ -f "$state" ] || id "${members[0]}" >/dev/null 2>&1; then
    echo "install test: removing what an interrupted earlier run left"
    undo
fi
if dpkg -s velotecla >/dev/null 2>&1 || [ -e "$data" ]; then
    echo "install test: SKIPPED: velotecla is installed here or $data exists; the test runs only on a"
    echo "machine without the program, and never touches an installation or its students"
    exit 0
fi

failures=0
passes=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }
check() { # description, command...
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

work=$(mktemp -d /tmp/vt-install.XXXXXX)
chmod 755 "$work"
xvfb_pid=""
program_pids=()

cleanup() {
    set +e
    for p in "${program_pids[@]}"; do kill -KILL "$p" 2>/dev/null; done
    for p in "${program_pids[@]}"; do wait "$p" 2>/dev/null; done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    undo
    rm -rf "$work"
}
trap cleanup EXIT

echo "made_group=$(getent group velotecla >/dev/null && echo no || echo yes)" >"$state"

# --- Installing -------------------------------------------------------------------------------------
start=$(date +%s)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends \
    "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
echo "installed in $(($(date +%s) - start)) s"
touch "$work/stamp"

check "group velotecla made" sh -c "getent group velotecla >/dev/null"
for d in "$data" "$data/users" "$data/aulas" "$data/historico"; do
    check "$d is root:velotecla, set-group-id, group-writable, closed to others" \
        test "$(stat -c '%U:%G %a' "$d")" = "root:velotecla 2770"
done
check "velotecla --version answers with VERSION" test "$(velotecla --version)" = "velotecla $version"
check "velotecla-relatorio --version answers with VERSION" \
    test "$(velotecla-relatorio --version)" = "velotecla-relatorio $version"
check "velotecla --help answers in Portuguese" sh -c 'velotecla --help | grep -q "^Uso: velotecla"'
for f in /usr/share/applications/br.com.tavoli.velotecla.desktop /usr/share/metainfo/br.com.tavoli.velotecla.metainfo.xml \
    /usr/share/icons/hicolor/48x48/apps/velotecla.png /usr/share/man/man1/velotecla.1.gz \
    /usr/share/man/man1/vt-aula.1.gz /usr/share/man/man1/vt-figura.1.gz \
    /usr/share/velotecla/aulas/aula24.aul /usr/share/velotecla/splash.jpg; do
    check "installed: $f" test -f "$f"
done
check "the manual page carries VERSION" sh -c "zcat /usr/share/man/man1/velotecla.1.gz | grep -q 'Velotecla $version'"
check "vt-aula on the PATH shows an installed lesson" \
    sh -c 'vt-aula show /usr/share/velotecla/aulas/aula24.aul | grep -q "^Tecla: F"'
check "vt-figura on the PATH draws a picture from the installed lessons" \
    sh -c "mkdir -p '$work/figura' && vt-figura '$work/figura' 3 && test -s '$work/figura/images/aula3.jpg'"
modules=$(dpkg -L velotecla | grep -E '/(vtprint|libvelotecla_sound)\.so$' || true)
check "both modules installed" test "$(echo "$modules" | wc -l)" = 2
check "no build folder path in the installed code" \
    sh -c "! grep -qF '$build_dir' /usr/bin/velotecla /usr/bin/velotecla-relatorio $(echo $modules)"

# --- Running as three OS users ------------------------------------------------------------------------
useradd -m -G velotecla -s /bin/sh "${members[0]}"
useradd -m -G velotecla -s /bin/sh "${members[1]}"
useradd -m -s /bin/sh "$outsider"

exec 3>"$work/display"
Xvfb -displayfd 3 -ac -noreset -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")

window() { # name pattern: the newest visible window of that name, waited for
    local w=""
    for _ in $(seq 150); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.2
    done
    echo "no window '$1'" >&2
    return 1
}
press() { # window name pattern, keys...
    local w
    w=$(window "$1") || return 1
    shift
    xdotool windowfocus --sync "$w" key --delay 60 "$@"
}
wait_file() {
    for _ in $(seq 100); do [ -e "$1" ] && return 0; sleep 0.1; done
    return 1
}

# Starts the installed program as the user, creates a student (name, password, level "Apenas Aluno")
# through the roster, the access dialog of the built-in administrator and the editor, and leaves.
session() { # user student expected-folder
    local user=$1 student=$2 folder=$3 pid rc
    setpriv --reuid="$user" --regid="$user" --init-groups env -i HOME="/home/$user" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" \
        velotecla >"$work/$user.log" 2>&1 &
    pid=$!
    program_pids+=("$pid")
    if [ "$user" = "$outsider" ]; then
        press '^Velotecla - pasta de dados$' Return || return 1
    fi
    sleep 3.5 # the splash
    press "^$title\$" alt+n || return 1
    press '^Senha de Acesso' Return || return 1
    window '^Novo usu' >/dev/null || return 1
    xdotool type --delay 40 "$student"
    xdotool key --delay 60 Tab
    xdotool type --delay 40 senha1
    xdotool key --delay 60 Tab Right alt+s
    wait_file "$folder/users/$student" || { echo "no profile $folder/users/$student" >&2; return 1; }
    press "^$title\$" alt+s || return 1
    press 'Saindo do Aplicativo' Return || return 1
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    rc=0
    wait "$pid" || rc=$?
    [ "$rc" = 0 ] || { echo "velotecla ended with $rc" >&2; cat "$work/$user.log" >&2; return 1; }
}

user_data=.local/share/velotecla
check "${members[0]} creates Ana in the shared folder" session "${members[0]}" Ana "$data"
check "${members[1]} creates Bia in the shared folder" session "${members[1]}" Bia "$data"
check "$outsider creates Caio in a folder of its own" session "$outsider" Caio "/home/$outsider/$user_data"

check "one shared roster: Ana and Bia side by side" test -f "$data/users/Ana" -a -f "$data/users/Bia"
check "Ana's profile is ${members[0]}'s, in the group" \
    test "$(stat -c '%U:%G' "$data/users/Ana")" = "${members[0]}:velotecla"
check "Bia's profile is ${members[1]}'s, in the group" \
    test "$(stat -c '%U:%G' "$data/users/Bia")" = "${members[1]}:velotecla"
check "profiles stay writable by the group, closed to others" test "$(stat -c '%a' "$data/users/Bia")" = 660
check "${members[1]} rewrote the settings ${members[0]} made" \
    test "$(stat -c '%U' "$data/velotecla.INI")" = "${members[1]}"
for u in "${members[@]}"; do
    check "nothing of $u's in its home" test ! -e "/home/$u/$user_data"
done
check "Caio is in $outsider's own folder" test -f "/home/$outsider/$user_data/users/Caio"
check "Caio is not in the shared roster" test ! -e "$data/users/Caio"
check "nothing of $outsider's in the shared folder" test -z "$(find "$data" -user "$outsider")"
check "$outsider is told where its data is" grep -q "não pode gravar na pasta de dados compartilhada" "$work/$outsider.log"
# --- Printing and sound through the installed modules -------------------------------------------------
# The student has passed the final test (lessons 24 and 25 unlocked, lesson 24 selected); the rest of
# the profile (name, password, level) stays as the editor wrote it, and so do the file's owner and mode.
passed_student() { # profile
    awk 'BEGIN { RS = "\r\n"; ORS = "\r\n" } /^\[/ { drop = ($0 ~ /^\[(Config|Aula[0-9]+)\]$/) } !drop' "$1" >"$work/profile"
    printf '[Aula24]\r\nHabilitado=1\r\n[Aula25]\r\nHabilitado=1\r\n[Config]\r\nAulaAtual=23\r\n' >>"$work/profile"
    cat "$work/profile" >"$1"
}
start_key=$(vt-aula show /usr/share/velotecla/aulas/aula24.aul | sed -n 's/^Tecla: *//p' || true)

# As the user, in the home folder: the diploma through the preview's Print (Ctrl+P) and the print
# dialog's own default, a PDF file in the current folder; then lesson 24 started with its key, whose
# countdown ends with the first sound. strace records where the program looked for its modules.
modules_session() { # user student index-in-the-roster
    local user=$1 student=$2 index=$3 pid w
    passed_student "$data/users/$student"
    printf '[Config]\r\nLastUser=%s\r\n' "$index" >"$data/velotecla.INI"
    (cd "/home/$user" && exec strace -f -qq -e trace=openat -o "$work/$user.strace" \
        setpriv --reuid="$user" --regid="$user" --init-groups env -i HOME="/home/$user" PATH=/usr/bin:/bin \
        LANG=C.UTF-8 DISPLAY="$DISPLAY" velotecla >"$work/$user.modules.log" 2>&1) &
    pid=$!
    program_pids+=("$pid")
    sleep 3.5 # the splash
    press "^$title\$" Return || return 1                   # "Fazer Aulas deste Aluno"
    press '^Senha de Acesso' Return || return 1             # the built-in administrator's way
    press "^Aulas do Aluno \\($student\\)\$" alt+i || return 1 # "Imprimir Diploma..."
    press '^(Print Preview|Visualiza)' ctrl+p || return 1
    press '^(Print|Imprimir)$' Return || return 1
    wait_file "/home/$user/Diploma de Digitação.pdf" || { echo "no diploma in /home/$user" >&2; return 1; }
    # Printing closes the preview; should it stay, Escape closes it.
    sleep 1
    w=$(xdotool search --onlyvisible --name '^(Print Preview|Visualiza)' 2>/dev/null | tail -n1 || true)
    [ -z "$w" ] || xdotool windowfocus --sync "$w" key Escape
    press "^Aulas do Aluno \\($student\\)\$" alt+f || return 1 # "Fazer esta Aula..."
    sleep 1
    xdotool key "$start_key"
    sleep 4.5 # the countdown, and its sound at the end
    pkill -TERM -u "$user" velotecla || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
}
opened() { # trace module: the module was opened from the installation's library folder
    grep -Eq "openat\(AT_FDCWD, \"/usr/lib/[^\"]*/velotecla/$2\", [^)]*\) = [0-9]+\$" "$1"
}
i=0
for u in "${members[@]}"; do
    student=$([ "$u" = "${members[0]}" ] && echo Ana || echo Bia)
    check "$u prints $student's diploma and starts a lesson" modules_session "$u" "$student" "$i"
    check "$u's program loaded the printing module from the installation" opened "$work/$u.strace" vtprint.so
    check "$u's program loaded the sound module from the installation" \
        opened "$work/$u.strace" libvelotecla_sound.so
    check "$u's diploma names $student" \
        sh -c "pdftotext '/home/$u/Diploma de Digitação.pdf' - | grep -q 'Aluno $student concluiu'"
    check "$u's program gave no message about a missing module" \
        sh -c "! grep -q 'não foi encontrado' '$work/$u.modules.log'"
    i=$((i + 1))
done

check "the installed files are as packaged" dpkg --verify velotecla
check "nothing new under the installation's folders" \
    test -z "$(find /usr/share/velotecla /usr/lib/*/velotecla /usr/bin/velotecla -newer "$work/stamp")"
check "no file of a test user under /usr" \
    test -z "$(find /usr -xdev \( -user "${members[0]}" -o -user "${members[1]}" -o -user "$outsider" \) -print -quit)"

# --- Removing -----------------------------------------------------------------------------------------
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=600 velotecla >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; exit 1; }
check "the program is gone" test ! -e /usr/bin/velotecla
check "the students are kept after removal" test -f "$data/users/Ana" -a -f "$data/users/Bia"

echo "install test: $passes passed, $failures failed, $(($(date +%s) - start)) s"
[ "$failures" = 0 ]
