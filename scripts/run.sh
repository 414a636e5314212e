#!/usr/bin/env bash
# Installs what is missing, builds Lanthor (Release, in build/) and shows the example tree: for
# now as the CSV reader's events, until the editor is part of the build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "${LANTHOR_JOBS:-2}" --target lanthor
exec build/bin/lanthor csv --events examples/syntax-tree.csv
