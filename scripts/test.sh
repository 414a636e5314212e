#!/usr/bin/env bash
# Installs what is missing, then builds and runs every check: the unit tests in a Release build
# with warnings as errors, the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# the formatting check, and each fuzz target for a bounded time.
#
# Build folders: build/ (Release), build-sanitize/, build-fuzz/. LANTHOR_JOBS sets the parallel
# jobs (default 2); LANTHOR_FUZZ_SECONDS scales every fuzz run (default: each target's own time).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${LANTHOR_JOBS:-2}"
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

step() { printf '\n==== %s\n' "$*"; }

step "Dependencies"
bash scripts/install-deps.sh

step "Layers"
bash scripts/check-layers.sh

step "Release build and unit tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLANTHOR_WERROR=ON -DLANTHOR_BENCH=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

step "Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# -O1 keeps the sanitized tests quick while the stack traces stay exact.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DLANTHOR_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

step "Formatting"
bash scripts/check-format.sh

step "Fuzzing"
bash scripts/fuzz.sh

step "All checks passed"
