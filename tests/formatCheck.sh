#!/bin/sh
# Every C++ file of the project as .clang-format has it; the files that differ are named.
#   tests/formatCheck.sh SOURCE_DIR CLANG_FORMAT
set -eu
cd "$1"
# The tracked files; a user who does not own the checkout (make test's run as an ordinary user) may be
# refused by git, and then every file outside the build trees is read.
if ! files=$(git -c safe.directory='*' ls-files '*.cpp' '*.h' 2>/dev/null) || [ -z "$files" ]; then
    files=$(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
bad=$(for f in $files; do "$2" --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"; done)
if [ -n "$bad" ]; then
    echo "not formatted (run: clang-format -i FILE):"
    echo "$bad"
    exit 1
fi
echo "all $(echo "$files" | wc -w) files formatted"
