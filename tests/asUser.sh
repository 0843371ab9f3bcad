#!/bin/sh
# make check's tests (labels core and gui) run again as an ordinary OS user over a debug build that root
# made: the README promises that they need no root. The user reads the build and source trees and
# writes only into the tests' own temporary folders (and ctest's log folder, lent for the run).
#   tests/asUser.sh BUILD_DIR [JOBS]
set -eu
build=$(cd "$1" && pwd)
jobs=${2:-2}
user=velotecla-check
if [ "$(id -u)" != 0 ]; then
    echo "asUser: already an ordinary user; make check is this run"
    exit 0
fi
# A system account with a home of its own for the run, in the group "users" besides its own, so that the
# shared-folder test can give a folder another group.
if ! id "$user" >/dev/null 2>&1; then
    useradd --system --user-group --groups users --home-dir /nonexistent --no-create-home \
        --shell /usr/sbin/nologin "$user"
fi
home=$(mktemp -d /tmp/velotecla-check.XXXXXX)
install -d -m 0700 -o "$user" "$home/runtime"
chown "$user" "$home"
log="$build/Testing"
mkdir -p "$log/Temporary"
trap 'chown -R 0:0 "$log"; rm -rf "$home"' EXIT
chown -R "$user" "$log"
# The tests are found as root first (the test list of the core's program is written into the build).
ctest --test-dir "$build" -N >/dev/null
if ! runuser -u "$user" -- test -r "$build/CTestTestfile.cmake"; then
    echo "asUser: $user cannot read $build (a build under a private home?): run make test from a readable folder"
    exit 1
fi
cd "$home"
runuser -u "$user" -- env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$home/runtime" LANG=C.UTF-8 \
    ctest --test-dir "$build" -j "$jobs" -L '^(core|gui)$' --output-on-failure
