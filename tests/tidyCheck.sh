#!/bin/sh
# clang-tidy with the project's .clang-tidy over every source file the build compiles (the build's
# compile_commands.json), generated files aside; any finding fails, with its file and line.
#   tests/tidyCheck.sh SOURCE_DIR BUILD_DIR RUN_CLANG_TIDY JOBS
set -eu
source_dir=$1 build_dir=$2 runner=$3 jobs=$4
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Only the project's own files: not Qt's generated moc files, not the build tree.
"$runner" -quiet -j "$jobs" -p "$build_dir" "^$source_dir/(app|bench|exercise|fuzz|lessons|platform|report|storage|tests|tools|widgets)/.*\\.cpp\$" \
    >"$out" 2>&1 || true
findings=$(grep -E '^/.*: (warning|error): ' "$out" | sort -u || true)
count=$(printf '%s' "$findings" | grep -c . || true)
if [ "$count" != 0 ]; then
    printf '%s\n' "$findings"
    echo "clang-tidy: $count findings"
    exit 1
fi
echo "clang-tidy: no findings in $(grep -c '"file":' "$build_dir/compile_commands.json") compiled files"
