#!/usr/bin/env bash
# Installs what is missing, builds Lanthor (Release, in build/) and opens the editor on the
# example tree. Extra arguments go to the editor (more files to open, Qt options).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "${LANTHOR_JOBS:-2}" --target lanthor

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "run: there is no display to open the editor on; scripts/screenshot.sh renders its" \
        "window to docs/screenshot.png without one" >&2
    exit 1
fi
exec build/bin/lanthor examples/syntax-tree.csv "$@"
