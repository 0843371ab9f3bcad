#!/bin/sh
# The school lab on a network file system. An SSH server on the loopback address exports one folder
# (root:<group> 2770); two OS users of that group each mount it with sshfs (one mount each, as two lab
# machines would) and store exercises at the same time, with umask 022 and 077: first two students at
# once, then the same student at both. Afterwards every total holds every exercise, every file is the
# group's (group-writable, nothing for others), and no lock or temporary is left.
# Usage: labTest.sh <vt-labstore>. Needs root, sshd, sshfs and FUSE; exit 77 (skipped) without them.
set -u
store=$1
. "$(dirname "$0")/common.sh"
[ "$(id -u)" = 0 ] || skip "o teste do laboratório precisa de root (cria usuários e um servidor SSH)"
for tool in /usr/sbin/sshd sshfs ssh-keygen useradd groupadd runuser; do
    command -v "$tool" >/dev/null 2>&1 || skip "falta $tool (pacotes openssh-server sshfs)"
done
[ -c /dev/fuse ] || skip "sem FUSE (/dev/fuse)"
unmount=$(command -v fusermount3 || command -v fusermount || echo umount)

T=$(mktemp -d /tmp/vt-lab.XXXXXX)
chmod 755 "$T"
tag=$$
group=vtlab$tag
userA=vtla$tag
userB=vtlb$tag
cleanup() {
    for u in $userA $userB; do
        [ -d "$T/mnt/$u" ] && $unmount -u "$T/mnt/$u" 2>/dev/null
    done
    [ -f "$T/sshd.pid" ] && kill "$(cat "$T/sshd.pid")" 2>/dev/null
    for u in $userA $userB; do userdel "$u" 2>/dev/null; done
    groupdel "$group" 2>/dev/null
    rm -rf "$T"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

groupadd "$group"
mkdir -p "$T/keys" "$T/auth" "$T/bin" "$T/home" /run/sshd
cp "$store" "$T/bin/vt-labstore"
chmod 755 "$T/keys" "$T/auth" "$T/bin" "$T/bin/vt-labstore"
for u in $userA $userB; do
    useradd -M -d "$T/home/$u" -s /bin/sh -G "$group" -p "*" "$u" # no password, not locked: keys only
    mkdir -p "$T/home/$u" "$T/mnt/$u"
    chown "$u" "$T/home/$u"
    ssh-keygen -q -t ed25519 -N '' -f "$T/keys/$u"
    cp "$T/keys/$u.pub" "$T/auth/$u"
    chmod 644 "$T/auth/$u"
done
export_dir=$T/export
mkdir "$export_dir"
chown "root:$group" "$export_dir"
chmod 2770 "$export_dir"

port=$((20000 + tag % 20000))
ssh-keygen -q -t ed25519 -N '' -f "$T/hostkey"
cat >"$T/sshd_config" <<CONFIG
ListenAddress 127.0.0.1
Port $port
HostKey $T/hostkey
PidFile $T/sshd.pid
AuthorizedKeysFile $T/auth/%u
StrictModes no
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
Subsystem sftp internal-sftp
Match User $userB
    ForceCommand internal-sftp -u 077
CONFIG
/usr/sbin/sshd -f "$T/sshd_config" -E "$T/sshd.log" || skip "o servidor SSH não iniciou: $(cat "$T/sshd.log")"
for _ in 1 2 3 4 5 6 7 8 9 10; do
    [ -f "$T/sshd.pid" ] && break
    sleep 0.2
done

# One mount per OS user, as each lab machine mounts the server for the user logged in there. No
# directory or attribute cache: a lock file one machine removed must be gone for the other at once.
for u in $userA $userB; do
    sshfs -p "$port" -o "IdentityFile=$T/keys/$u,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null" \
        -o allow_other,dir_cache=no,entry_timeout=0,attr_timeout=0,negative_timeout=0 \
        "$u@127.0.0.1:$export_dir" "$T/mnt/$u" 2>"$T/sshfs-$u.log" ||
        skip "a montagem sshfs (FUSE) não foi possível aqui: $(cat "$T/sshfs-$u.log" "$T/sshd.log")"
done

run() { # user umask student count [perfil]
    runuser -u "$1" -- sh -c "umask $2; HOME='$T/home/$1' VELOTECLA_DADOS='$T/mnt/$1' exec '$T/bin/vt-labstore' '$3' 3 $4 ${5:-}"
}
value() { # file key
    sed -n "s/^$2=\\([0-9]*\\)\\r\$/\\1/p" "$1"
}

# A profile and lesson result made by an earlier version under umask 022: the owner's alone to write.
mkdir -m 2770 "$export_dir/users" "$export_dir/aulas"
chown "$userA:$group" "$export_dir/users" "$export_dir/aulas"
printf '[Aula1]\r\nHabilitado=1\r\n' >"$export_dir/users/Dora"
printf '[Config]\r\nWordOK=10\r\n' >"$export_dir/aulas/aula3_Dora.def"
chown "$userA:$group" "$export_dir/users/Dora" "$export_dir/aulas/aula3_Dora.def"
chmod 644 "$export_dir/users/Dora" "$export_dir/aulas/aula3_Dora.def"
run "$userB" 077 Dora 2
check "um perfil antigo (644) de outro membro: gravado" test "$(value "$export_dir/users/Dora" WordOK)" = 20
check "um resultado antigo (644) de outro membro: gravado" test "$(value "$export_dir/aulas/aula3_Dora.def" WordOK)" = 30

n=15
started=$(date +%s)
run "$userA" 022 Ana $n &
a=$!
run "$userB" 077 Bia $n &
b=$!
wait $a && wait $b
check "dois alunos ao mesmo tempo: todos os exercícios gravados" test $? = 0
run "$userA" 022 Caio $n &
a=$!
run "$userB" 077 Caio $n &
b=$!
wait $a
ra=$?
wait $b
rb=$?
check "o mesmo aluno nas duas máquinas: todos os exercícios gravados" test "$ra$rb" = 00
echo "$((4 * n)) exercícios gravados em $(($(date +%s) - started)) s pelo sshfs"

for s in Ana Bia; do
    for f in "users/$s" "aulas/aula3_$s.def"; do
        check "$f: WordOK $((10 * n)), CharOK $((40 * n))" \
            test "$(value "$export_dir/$f" WordOK) $(value "$export_dir/$f" CharOK)" = "$((10 * n)) $((40 * n))"
    done
done
for f in users/Caio aulas/aula3_Caio.def; do
    check "$f: WordOK $((20 * n)), CharOK $((80 * n))" \
        test "$(value "$export_dir/$f" WordOK) $(value "$export_dir/$f" CharOK)" = "$((20 * n)) $((80 * n))"
done
# The catalogue's and the editor's writes of a profile at one machine while the other stores
# exercises of the same student: every write under the student's lock, no word lost.
run "$userA" 022 Eva $n &
a=$!
run "$userB" 077 Eva $((3 * n)) perfil &
b=$!
wait $a
ra=$?
wait $b
check "escritas do perfil contra exercícios gravados: todos gravados" test "$ra$?" = 00
for f in users/Eva aulas/aula3_Eva.def; do
    check "$f: WordOK $((10 * n)), CharOK $((40 * n))" \
        test "$(value "$export_dir/$f" WordOK) $(value "$export_dir/$f" CharOK)" = "$((10 * n)) $((40 * n))"
done
check "historico/Caio.csv: $((2 * n)) exercícios" test "$(($(wc -l <"$export_dir/historico/Caio.csv") - 1))" = $((2 * n))
check "users/Caio: a aula 4 liberada" grep -q '^\[Aula4\]' "$export_dir/users/Caio"

# Every file and folder the two users made is the group's, for both to write, and nothing for others.
bad=$(find "$export_dir" -mindepth 1 \( -type f \( ! -group "$group" -o ! -perm -0660 -o -perm /0007 \) \) -o \
    \( -type d \( ! -group "$group" -o ! -perm -2770 -o -perm /0007 \) \))
check "tudo do grupo $group, gravável pelo grupo, nada para os outros${bad:+: $bad}" test -z "$bad"
left=$(find "$export_dir" -name '*.tmp' -o -name '.*.trava')
check "nenhuma trava ou temporário deixado${left:+: $left}" test -z "$left"

! failed || {
    ls -laR "$export_dir"
    exit 1
}
echo "o laboratório no sshfs: tudo certo"
