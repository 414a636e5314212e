#!/usr/bin/env bash
# Times `lanthor layout` on small files built to make a careless layout or label pipeline blow up:
# each node listing the next one twice (2^60 paths), 100,000 unclosed <b> tags, 25,000 levels of
# unclosed nesting, the same closed, and 50,000 alternating bold pairs. Each should take well
# under a second; prints the wall time and peak memory of each run.
#
# Usage: bench/hostile_inputs.sh [BUILD_DIR]   (default: build; needs GNU time, package time)
set -euo pipefail

build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --build "$build" -j2 --target lanthor >/dev/null

python3 - "$work" <<'PYTHON'
import os, sys
work = sys.argv[1]
def write(name, text):
    with open(os.path.join(work, name), "w") as f:
        f.write(text)
rows = [f"{i},{i + 1} {i + 1},{'R' if i == 0 else '0'},n{i}" for i in range(60)]
write("listed-twice.csv", "\n".join(rows) + "\n60,,0,end\n")
write("unclosed-bold.csv", "0,,R," + "<b>" * 100000 + "x\n")
write("unclosed-nesting.csv", "0,,R," + "<b><i><sub><sup>" * 25000 + "x\n")
write("closed-nesting.csv",
      "0,,R," + "<b><i><sub><sup>" * 25000 + "x" + "</sup></sub></i></b>" * 25000 + "\n")
write("alternating-bold.csv", "0,,R," + "<b>a</b>c" * 50000 + "\n")
PYTHON

printf '%-24s %8s %10s\n' file "wall s" "peak KiB"
for file in "$work"/*.csv; do
    /usr/bin/time -o "$work/time" -f '%e %M' "$build/bin/lanthor" layout "$file" >/dev/null 2>&1
    read -r seconds kib <"$work/time"
    printf '%-24s %8s %10s\n' "$(basename "$file")" "$seconds" "$kib"
done
