#!/usr/bin/env bash
# Fails, listing what would change, when any C++ source is not formatted by .clang-format.
# `clang-format -i FILE...` fixes them.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if ! clang-format --dry-run --Werror "${sources[@]}"; then
    echo "check-format: the files above are not formatted; run clang-format -i on them" >&2
    exit 1
fi
echo "check-format: ${#sources[@]} files formatted"
