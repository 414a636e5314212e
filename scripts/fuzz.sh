#!/usr/bin/env bash
# Builds the fuzz targets with clang (coverage, ASan and UBSan in every library) and runs each
# for a bounded time from its seed corpus in fuzz/corpus/<target>/. New corpus entries stay in
# build-fuzz/corpus/; a failing input is written to build-fuzz/artifacts/ and makes this fail.
# Keep such an input under fuzz/regressions/<target>/: the unit tests replay those.
#
# Usage: scripts/fuzz.sh [TARGET...]   (default: every target). LANTHOR_FUZZ_SECONDS overrides
# each target's time.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${LANTHOR_JOBS:-2}"

# Seconds and largest input for each target; the CSV parser gets the most time, and inputs of a
# few 512-byte blocks, so that reads across block boundaries are covered.
seconds_for() {
    case "$1" in
    csv_parser_fuzzer) echo 60 ;;
    *) echo 20 ;;
    esac
}
max_len_for() {
    case "$1" in
    csv_parser_fuzzer) echo 4096 ;;
    *) echo 2048 ;;
    esac
}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLANTHOR_FUZZ=ON -DLANTHOR_TESTS=OFF
cmake --build build-fuzz -j "$jobs" --target lanthor_fuzzers

if (($# > 0)); then
    targets=("$@")
else
    mapfile -t targets < <(find fuzz -maxdepth 1 -name '*_fuzzer.cpp' -exec basename {} .cpp \; | sort)
fi

mkdir -p build-fuzz/artifacts
for target in "${targets[@]}"; do
    seconds="${LANTHOR_FUZZ_SECONDS:-$(seconds_for "$target")}"
    corpus="build-fuzz/corpus/$target"
    mkdir -p "$corpus"
    log="build-fuzz/$target.log"
    echo "fuzz: $target for ${seconds}s (log: $log)"
    seeds=()
    if [[ -d "fuzz/corpus/$target" ]]; then
        seeds=("fuzz/corpus/$target")
    fi
    if ! "build-fuzz/bin/$target" -max_total_time="$seconds" -max_len="$(max_len_for "$target")" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$target-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz: $target failed; the input is under build-fuzz/artifacts/." \
            "Keep it in fuzz/regressions/$target/ and replay it with build/bin/lanthor_core_tests." >&2
        exit 1
    fi
    grep -E '^(Done|stat::)' "$log"
done
