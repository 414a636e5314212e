#!/usr/bin/env bash
# Compiles the LaTeX that `lanthor convert` writes, with pdflatex: the example tree and a tree
# using every markup tag and every character TeX treats specially, for forest and for
# tikz-qtree. Installs the TeX Live packages it needs when they are missing (about 500 MB, which
# is why CI does not run it). Exit status 0 when every document compiles.
#
# Usage: scripts/check-latex.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
packages=(texlive-latex-base texlive-latex-recommended texlive-latex-extra texlive-pictures)
missing=()
for package in "${packages[@]}"; do
    if [[ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} > 0)); then
    apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
    ((EUID == 0)) || apt=(sudo "${apt[@]}")
    "${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
fi
cmake --build "$build" -j2 --target lanthor >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp examples/syntax-tree.csv "$work/example.csv"
cat >"$work/special.csv" <<'TREE'
0,1 2,R,"S & <b>T</b>_{x}^~%#$\\ &lt;&gt;&amp;&quot;"
1,3,1,NP<sub>subj</sub><sup>2</sup>
2,,0,"a<br>b <i>it</i> <b><i>both</i></b> <b>unpaired"
3,,0,"[brackets], {braces} | <x> ""q"" é"
TREE

failed=0
for tree in example special; do
    for package in forest qtree; do
        name="$tree-$package"
        "$build/bin/lanthor" convert --to "$package" --standalone "$work/$tree.csv" "$work/$name.tex"
        if (cd "$work" && pdflatex -interaction=nonstopmode -halt-on-error "$name.tex" >"$name.out" 2>&1); then
            echo "check-latex: $name.tex compiles"
        else
            echo "check-latex: $name.tex does not compile:" >&2
            grep -A3 '^!' "$work/$name.out" >&2 || tail -20 "$work/$name.out" >&2
            failed=1
        fi
    done
done
exit "$failed"
