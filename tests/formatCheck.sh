#!/bin/sh
# Every C++ file of the project as .clang-format has it; the files that differ are named.
#   tests/formatCheck.sh SOURCE_DIR CLANG_FORMAT
set -eu
cd "$1"
if [ -d .git ] || git rev-parse --git-dir >/dev/null 2>&1; then
    files=$(git ls-files '*.cpp' '*.h')
else
    files=$(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
bad=$(for f in $files; do "$2" --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"; done)
if [ -n "$bad" ]; then
    echo "not formatted (run: clang-format -i FILE):"
    echo "$bad"
    exit 1
fi
echo "all $(echo "$files" | wc -w) files formatted"
