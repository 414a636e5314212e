#!/usr/bin/env bash
# Builds Lanthor if needed (Release, in build/ or $LANTHOR_BUILD_DIR) and renders the editor's window on the example
# tree to docs/screenshot.png, on Qt's offscreen platform: no display is needed.
#
# Usage: scripts/screenshot.sh [TREE_FILE [PNG]]
set -euo pipefail
cd "$(dirname "$0")/.."

tree="${1:-examples/syntax-tree.csv}"
png="${2:-docs/screenshot.png}"
build="${LANTHOR_BUILD_DIR:-build}"

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j "${LANTHOR_JOBS:-2}" --target lanthor
mkdir -p "$(dirname "$png")"

# A scratch home, so that no recovery copy or recent-files list of the user's is offered or
# touched.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
    QT_QPA_PLATFORM=offscreen "$build/bin/lanthor" --screenshot "$png" "$tree" 2>/dev/null
echo "screenshot: $png"
