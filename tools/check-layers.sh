#!/usr/bin/env bash
# Fails when a file includes a header from a layer above its own. The rules are the
# include table of docs/ARCHITECTURE.md; keep the two in step.
set -uo pipefail
cd "$(dirname "$0")/.."

status=0
# forbid DIR PREFIX...: no file under DIR may include "PREFIX..." headers.
forbid() {
  local dir=$1
  shift
  [[ -d $dir ]] || return 0
  for prefix in "$@"; do
    hits=$(grep -rnE "^\s*#\s*include\s+\"$prefix" "$dir" --include='*.h' --include='*.cpp' || true)
    if [[ -n $hits ]]; then
      echo "layering: $dir must not include \"$prefix...\":"
      echo "$hits"
      status=1
    fi
  done
}

above_platform=(std/ ip/ ch_core/ persist/ components/ module/ lumxstd/ lumxip/)
above_core=(platform/ persist/ components/ module/ lumxstd/ lumxip/)

forbid src/platform "${above_platform[@]}"
forbid src/std "${above_core[@]}" ip/ ch_core/
forbid src/ip "${above_core[@]}"
forbid src/ch_core "${above_core[@]}" ip/

# Each kernel family includes the standard library, Highway, std/ and its own folder only.
for dir in src/ip/*/; do
  [[ -d $dir ]] || continue
  family=${dir#src/}
  hits=$(grep -rnE '^\s*#\s*include\s' "$dir" --include='*.h' --include='*.cpp' |
    grep -vE "#\s*include\s+(\"(std/|$family)|<(hwy/[^>]+|[a-z_0-9]+)>)" || true)
  if [[ -n $hits ]]; then
    echo "layering: $dir may include only the standard library, <hwy/...>, std/ and $family:"
    echo "$hits"
    status=1
  fi
done

[[ $status -eq 0 ]] && echo "layering: every include respects the layers"
exit $status
