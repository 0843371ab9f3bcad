#!/bin/sh
# The core's fuzzing harnesses (built by the "fuzz" CMake preset into build/fuzz/fuzz).
#   fuzz/run.sh regress HARNESS...          each harness once over its stored corpus and crash inputs
#   fuzz/run.sh fuzz SECONDS HARNESS...     each harness fuzzed for SECONDS, one after another
#   fuzz/run.sh coverage HARNESS...         line coverage of the stored and found inputs (the
#                                           "fuzz-coverage" preset's build, llvm-14's tools)
# Inputs found while fuzzing go to build/fuzz-work/HARNESS; failures to build/fuzz-artifacts, whence
# a failing input worth keeping is copied into fuzz/crashes/HARNESS.
set -eu
cd "$(dirname "$0")/.."
mode=$1
shift
seconds=0
if [ "$mode" = fuzz ]; then
    seconds=$1
    shift
fi
status=0
for h in "$@"; do
    corpus="fuzz/corpus/$h"
    crashes="fuzz/crashes/$h"
    work="build/fuzz-work/$h"
    mkdir -p "$crashes" "$work" build/fuzz-artifacts
    case "$mode" in
    regress)
        if ! build/fuzz/fuzz/fuzz_"$h" -runs=0 -artifact_prefix="build/fuzz-artifacts/$h-" "$corpus" "$crashes" >"build/fuzz-artifacts/$h.log" 2>&1; then
            echo "fuzz_$h: FAILED on a stored input (build/fuzz-artifacts/$h.log)"
            tail -20 "build/fuzz-artifacts/$h.log"
            status=1
        else
            echo "fuzz_$h: $(ls "$corpus" "$crashes" | grep -vc ':$\|^$') stored inputs, no failure"
        fi
        ;;
    fuzz)
        echo "== fuzz_$h for $seconds s"
        build/fuzz/fuzz/fuzz_"$h" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="build/fuzz-artifacts/$h-" "$work" "$corpus" "$crashes" 2>&1 |
            grep -E '^#[0-9]+[[:space:]]+(DONE|INITED)|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|ERROR|SUMMARY|check failed' ||
            true
        ;;
    coverage)
        profile="build/fuzz-coverage/$h.profraw"
        LLVM_PROFILE_FILE="$profile" build/fuzz-coverage/fuzz/fuzz_"$h" -runs=0 "$work" "$corpus" "$crashes" \
            >/dev/null 2>&1 || true
        llvm-profdata-14 merge -sparse "$profile" -o "build/fuzz-coverage/$h.profdata"
        echo "== fuzz_$h"
        llvm-cov-14 report "build/fuzz-coverage/fuzz/fuzz_$h" -instr-profile="build/fuzz-coverage/$h.profdata" \
            -ignore-filename-regex='(^/usr/|fuzz/)' | sed 's|^.*\.\./\.\./||'
        ;;
    esac
done
exit $status
