#!/usr/bin/env bash
# The folders of src/ in layers: each may include only itself and the
# folders named before it, so that a part two folders need lives below both.
# Arguments: the source folder, then the folders from the bottom up.
set -euo pipefail
cd "$1/src"
shift
layers=("$@")
faults=0
checked=0
for ((at = 0; at < ${#layers[@]}; ++at)); do
  folder=${layers[$at]}
  [[ -d $folder ]] || { echo "FAIL: no folder src/$folder"; exit 1; }
  for file in "$folder"/*; do
    while IFS= read -r used; do
      checked=$((checked + 1))
      for ((above = at + 1; above < ${#layers[@]}; ++above)); do
        if [[ $used == "${layers[$above]}" ]]; then
          echo "FAIL: $file includes $used/, a folder above $folder/"
          faults=$((faults + 1))
        fi
      done
    done < <(grep -o '^#include "[a-z_]*/' "$file" | sed 's/#include "//; s/\/$//' | grep -vx "$folder" || true)
  done
done
# Every folder of src/ has its place.
for folder in */; do
  folder=${folder%/}
  [[ " ${layers[*]} " == *" $folder "* ]] || { echo "FAIL: src/$folder has no place in the layers"; faults=$((faults + 1)); }
done
((checked > 50)) || { echo "FAIL: only $checked includes across folders were read"; exit 1; }
((faults == 0)) || exit 1
echo "PASS: $checked includes across folders, each of a folder below"
