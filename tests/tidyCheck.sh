#!/bin/sh
# clang-tidy with the project's .clang-tidy over the build's own source files (from its
# compile_commands.json, never Qt's generated files); any finding fails, with its file and line.
#   tests/tidyCheck.sh SOURCE_DIR BUILD_DIR RUN_CLANG_TIDY JOBS [core]
# With "core", only the files of the core library (standard C++, quick: the part make test checks);
# without, every file of the project (make tidy), some minutes on two cores.
set -eu
source_dir=$1 build_dir=$2 runner=$3 jobs=$4 scope=${5:-all}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
if [ "$scope" = core ]; then
    files=$(cd "$source_dir" && git ls-files 'core/*.cpp' 2>/dev/null || find core -name '*.cpp')
    pattern="^$source_dir/core/.*\\.cpp\$"
else
    files=$(cd "$source_dir" && git ls-files '*.cpp' 2>/dev/null || find . -name '*.cpp' -not -path './build/*')
    pattern="^$source_dir/(bench|core|fuzz|modules|programs|tests|tools|windows)/.*\\.cpp\$"
fi
"$runner" -quiet -j "$jobs" -p "$build_dir" "$pattern" >"$out" 2>&1 || true
# run-clang-tidy colours its output whatever the terminal: the colours go before reading it.
findings=$(sed 's/\x1b\[[0-9;]*m//g' "$out" | grep -E '^/.*: (warning|error): ' | sort -u || true)
count=$(printf '%s' "$findings" | grep -c . || true)
if [ "$count" != 0 ]; then
    printf '%s\n' "$findings"
    echo "clang-tidy: $count findings"
    exit 1
fi
echo "clang-tidy: no findings in $(echo $files | wc -w) files ($scope)"
