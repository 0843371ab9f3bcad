# What the lab tests share: a skip (exit 77) and a check that prints each outcome and counts the
# failures in $T/falhas, a file, so that checks made by parts run at once are counted too.
skip() {
    echo "SKIP: $*"
    exit 77
}
check() { # what command...
    what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FALHOU: $what"
        echo "$what" >>"$T/falhas"
    fi
}
failed() {
    [ -s "$T/falhas" ]
}
