#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz and runs each for a bounded time,
# starting from its committed seed corpus. Fails on any finding: a crash, a leak, a sanitizer
# report, a broken property, an input slower than the per-input timeout, or memory beyond the limit.
#
#   scripts/fuzz.sh [seconds per target, default 60] [target...]
#
# The mutations follow a fixed seed, so that CI judges the same commit alike on every run;
# FUZZ_SEED=0 lets libFuzzer pick a new seed each time, for exploring beyond what CI covers.
#
# New inputs go to a scratch corpus, never into fuzz/corpus; a finding is kept as
# build-fuzz/findings/<target>-crash-... (replay it with build-fuzz/fuzz/<target>_fuzzer FILE).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(scan config master_index cross_link run json_text doxyfile tag_file)
fi
per_input_timeout=${FUZZ_TIMEOUT:-10}
rss_limit_mb=${FUZZ_RSS_LIMIT_MB:-2048}
max_len=${FUZZ_MAX_LEN:-16384}
seed=${FUZZ_SEED:-1}

BUILD_TYPE=RelWithDebInfo scripts/build.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ \
    -DSYLVA_BUILD_FUZZERS=ON -DSYLVA_BUILD_TESTS=OFF -DSYLVA_WITH_WINDOW=OFF \
    -DSYLVA_WARNINGS_AS_ERRORS=ON

mkdir -p build-fuzz/findings
# The scratch corpora and the files the targets write, in memory where the system offers it; all
# of it goes when the script ends, also after a finding.
if [ -w /dev/shm ]; then
    work=$(mktemp -d -p /dev/shm)
else
    work=$(mktemp -d)
fi
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${targets[@]}"; do
    echo "== fuzzing $target for ${seconds}s"
    mkdir -p "$work/$target"
    dictionary=()
    if [ -f "fuzz/dictionaries/$target.dict" ]; then
        dictionary=(-dict="fuzz/dictionaries/$target.dict")
    fi
    log="$work/$target.log"
    if "build-fuzz/fuzz/${target}_fuzzer" "$work/$target" "fuzz/corpus/$target" \
        "${dictionary[@]}" -max_total_time="$seconds" -timeout="$per_input_timeout" \
        -rss_limit_mb="$rss_limit_mb" -max_len="$max_len" -seed="$seed" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$target-" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "   $target: no finding in ${runs:-?} executions"
    else
        tail -n 60 "$log"
        echo "   $target: FINDING (see build-fuzz/findings/)"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}"
    exit 1
fi
