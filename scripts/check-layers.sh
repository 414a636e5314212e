#!/usr/bin/env bash
# Checks that every file under src/ includes only the layers its own layer may use, and Qt only
# in the Qt layers. The table lists, per layer, exactly the layers its files include directly;
# a direction that no file uses is reported too, so the table stays a true picture of the code.
set -euo pipefail
cd "$(dirname "$0")/../src"

# layer: the layers below it that its files include
declare -A allowed=(
    [base]=""
    [csv]="base"
    [model]="base csv"
    [platform]=""
    [canvas]="base model platform"
    [document]="base canvas model platform"
    [qtgui]="base canvas model platform"
    [editor]="base canvas document model platform qtgui"
    [cli]="base canvas csv model platform qtgui"
    [main.cpp]="base cli editor"
)
qt_layers=" qtgui editor "

failures=0
declare -A used=()
for layer in "${!allowed[@]}"; do
    if [[ $layer == *.cpp ]]; then files=("$layer"); else files=("$layer"/*); fi
    for file in "${files[@]}"; do
        while IFS=: read -r line target; do
            if [[ " ${allowed[$layer]} " == *" $target "* ]]; then
                used[$layer:$target]=1
            elif [[ $target != "$layer" ]]; then
                echo "src/$file:$line: $layer includes $target, which is not below it" >&2
                failures=$((failures + 1))
            fi
        done < <(grep -no '^#include "[a-z]*/' "$file" | sed 's/#include "//; s/\/$//')
        if [[ $qt_layers != *" $layer "* ]] && grep -q '^#include <Q' "$file"; then
            echo "src/$file: $layer includes Qt, which only the Qt layers may" >&2
            failures=$((failures + 1))
        fi
    done
    for target in ${allowed[$layer]}; do
        if [[ -z ${used[$layer:$target]:-} ]]; then
            echo "check-layers: $layer may include $target, but no file does: drop it from the table" >&2
            failures=$((failures + 1))
        fi
    done
done
for folder in */; do
    if [[ -z ${allowed[${folder%/}]+set} ]]; then
        echo "check-layers: src/$folder is not in the table of layers" >&2
        failures=$((failures + 1))
    fi
done

if ((failures > 0)); then
    echo "check-layers: $failures problem(s)" >&2
    exit 1
fi
echo "check-layers: ${#allowed[@]} layers, every include goes downwards"
