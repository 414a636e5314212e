#!/usr/bin/env bash
# The editor as a user waits for it, on generated trees of 100,000 and 1,000,000 nodes: opening
# the file to the first picture and the peak memory, scrolling and zooming per frame (the change
# and the repaint of a 1200 x 800 viewport), the keys that move the selection, and adding a node
# under a node in the middle of the tree to the picture that shows it. editor_bench drives the
# real editor in-process; it runs under Qt's offscreen platform and, where xvfb-run is installed,
# under Xvfb too. Prints one table per platform, with the command that measured it, how each
# figure grows from the smaller tree to the larger, and the goal for the larger.
#
# Usage: bench/editor.sh [BUILD_DIR]
# BUILD_DIR must be configured with -DLANTHOR_BENCH=ON (default: build).
set -euo pipefail

build=${1:-build}
sizes=(100000 1000000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ninja -C "$build" editor_bench make_bench_tree >/dev/null
for nodes in "${sizes[@]}"; do
    "$build/bin/make_bench_tree" "$nodes" "$work/tree-$nodes.csv"
done

platforms=(offscreen)
if command -v xvfb-run >/dev/null; then
    platforms+=(xvfb)
fi
for platform in "${platforms[@]}"; do
    case $platform in
    offscreen) command=(env QT_QPA_PLATFORM=offscreen "$build/bin/editor_bench") ;;
    xvfb) command=(xvfb-run -a -s "-screen 0 1920x1200x24" env QT_QPA_PLATFORM=xcb
        "$build/bin/editor_bench") ;;
    esac
    printf '%q ' "${command[@]}" >"$work/$platform.command"
    echo TREE >>"$work/$platform.command"
    for nodes in "${sizes[@]}"; do
        # The editor's log (a line per node added) goes to standard error.
        "${command[@]}" "$work/tree-$nodes.csv" >"$work/$platform-$nodes.txt" 2>/dev/null
    done
done

python3 - "$work" "${sizes[@]}" -- "${platforms[@]}" <<'PYTHON'
import os, sys

work = sys.argv[1]
split = sys.argv.index("--")
small, large = sys.argv[2:split]
platforms = sys.argv[split + 1:]

rows = [  # figure, label, goal for the larger tree
    ("open_to_window_ms", "open: file read, laid out, window made (ms)", None),
    ("open_to_first_picture_ms", "open to first picture (ms)", 3000),
    ("peak_memory_after_open_mib", "peak memory after opening (MiB)", 600),
    ("scroll_step_median_ms", "scroll step, median frame (ms)", 30),
    ("scroll_step_max_ms", "scroll step, slowest frame (ms)", 30),
    ("scroll_jump_median_ms", "scroll jump, median frame (ms)", 30),
    ("scroll_jump_max_ms", "scroll jump, slowest frame (ms)", 30),
    ("zoom_median_ms", "zoom step, median frame (ms)", 30),
    ("zoom_max_ms", "zoom step, slowest frame (ms)", 30),
    ("selection_key_median_ms", "selection key, median frame (ms)", None),
    ("selection_key_max_ms", "selection key, slowest frame (ms)", None),
    ("add_to_picture_ms", "add a node to the next picture (ms)", 100),
    ("answer_to_picture_ms", "its new text to the next picture (ms)", None),
    ("peak_memory_mib", "peak memory at the end (MiB)", 600),
]

def figures(platform, nodes):
    with open(os.path.join(work, f"{platform}-{nodes}.txt")) as f:
        return {name: float(value) for name, value in (line.split() for line in f if line.strip())}

for platform in platforms:
    command = open(os.path.join(work, f"{platform}.command")).read().strip()
    a, b = figures(platform, small), figures(platform, large)
    print(f"\n{platform}: {command}   (viewport {b['viewport_width']:.0f} x {b['viewport_height']:.0f})")
    print(f"{'':44} {int(small):>10,} {int(large):>10,} {'growth':>7} {'goal':>6}  ")
    for name, label, goal in rows:
        growth = b[name] / a[name] if a[name] else float("nan")
        verdict = "" if goal is None else ("met" if b[name] < goal else "missed")
        goal_text = "" if goal is None else f"< {goal}"
        print(f"{label:44} {a[name]:>10.1f} {b[name]:>10.1f} {growth:>6.1f}x {goal_text:>6}  {verdict}")
PYTHON
