#!/usr/bin/env bash
# Loading, saving and deleting a generated tree file of 1,000,000 nodes (UTF-16LE with mark, as
# saved), beside Python's csv module building a dict of the same nodes from the same file, in
# one run. Prints the figures and the ratio.
#
# Usage: bench/tree_file.sh [BUILD_DIR [NODES]]
# BUILD_DIR must be configured with -DLANTHOR_BENCH=ON (default: build).
set -euo pipefail

build=${1:-build}
nodes=${2:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ninja -C "$build" tree_file_bench lanthor >/dev/null

# deleteNode logs one line per node through the real standard-error sink, sent to /dev/null.
"$build/bin/tree_file_bench" --nodes="$nodes" --keep="$work/tree.csv" \
    --benchmark_out="$work/bench.json" --benchmark_out_format=json >/dev/null 2>/dev/null

python3 - "$work" "$build/bin/lanthor" "$nodes" <<'PYTHON'
import csv, json, os, resource, subprocess, sys, time

work, lanthor, nodes = sys.argv[1], sys.argv[2], int(sys.argv[3])
tree = os.path.join(work, "tree.csv")

def python_dict(path):
    """The same nodes as the tree file loader: number -> (text, children, head, root)."""
    table = {}
    with open(path, encoding="utf-16", newline="") as f:
        for row in csv.reader(f):
            if len(row) < 2:
                continue
            row += [""] * (4 - len(row))
            flag = row[2].strip(" \t")
            children = [c for c in row[1].strip(" \t").split(" ") if c]
            table[row[0]] = (row[3], children, flag == "1", flag == "R")
    return table

results = {b["name"].split("/")[0]: b for b in json.load(open(os.path.join(work, "bench.json")))["benchmarks"]}

# The whole command as a user runs it: load, save to a new file, exit. Run first, while this
# process is small: a child's peak resident size counts what it shared with its parent at fork.
start = time.perf_counter()
subprocess.run([lanthor, "resave", tree, os.path.join(work, "out.csv")], check=True)
resave_s = time.perf_counter() - start
resave_peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss

start = time.perf_counter()
table = python_dict(tree)
python_s = time.perf_counter() - start
assert len(table) == nodes, len(table)
python_peak_kib = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
del table

print(f"nodes: {nodes}, file: {os.path.getsize(tree) / 1e6:.1f} MB (UTF-16LE with mark)")
print(f"{'':38} {'wall ms':>8} {'cpu ms':>8}  peak bytes/node (beside texts)")
for name, label in [("load", "load (loadTableFromURL)"),
                    ("save_text_and_bytes", "save (saveTable + treeFileBytes)"),
                    ("save_to_file", "save to disk (saveTableToFile, fsync)"),
                    ("delete_root", "delete root (stderr sink to /dev/null)")]:
    r = results[name]
    peak = f"{r['peak_bytes_per_node']:.0f} ({r['peak_bytes_per_node_beside_texts']:.0f})" \
        if "peak_bytes_per_node" in r else ""
    print(f"{label:38} {r['real_time']:8.0f} {r['cpu_time']:8.0f}  {peak}")
print(f"{'lanthor resave, whole process':38} {resave_s * 1000:8.0f} {'':>8}  "
      f"peak RSS {resave_peak_kib / 1024:.0f} MiB")
print(f"{'python csv module -> dict':38} {python_s * 1000:8.0f} {'':>8}  "
      f"peak RSS {python_peak_kib / 1024:.0f} MiB")
print(f"load speed-up over python: {python_s * 1000 / results['load']['real_time']:.1f}x")
PYTHON
