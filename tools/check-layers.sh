#!/usr/bin/env bash
# Fails when a file includes a header from a layer above its own. The rules are the
# Layers table of docs/ARCHITECTURE.md; keep the two in step.
set -uo pipefail
cd "$(dirname "$0")/.."
shopt -s globstar nullglob

status=0
# forbid 'GLOB' PREFIX...: no .h or .cpp file of GLOB may include a "PREFIX..." header.
forbid() {
  local glob=$1 files=() file
  shift
  for file in $glob; do
    [[ $file == *.h || $file == *.cpp ]] && files+=("$file")
  done
  ((${#files[@]})) || return 0
  for prefix in "$@"; do
    hits=$(grep -nHE "^\s*#\s*include\s+\"$prefix" "${files[@]}" || true)
    if [[ -n $hits ]]; then
      echo "layering: $glob must not include \"$prefix...\":"
      echo "$hits"
      status=1
    fi
  done
}

# The component folders other than the framework, the bridge and those named, as prefixes.
components_except() {
  for dir in src/components/*/; do
    local name
    name=$(basename "$dir")
    [[ " framework bridge $* " == *" $name "* ]] || echo "components/$name/"
  done
}

above_platform=(std/ ip/ ch_core/ persist/ components/ module/ lumxstd/ lumxip/)
above_core=(platform/ persist/ components/ module/ lumxstd/ lumxip/)
sources='**/*'

forbid "src/platform/$sources" "${above_platform[@]}"
forbid "src/std/$sources" "${above_core[@]}" ip/ ch_core/
forbid "src/ip/$sources" "${above_core[@]}"
forbid "src/ch_core/$sources" "${above_core[@]}" ip/
forbid "include/lumxip/$sources" std/ ip/ ch_core/ persist/ components/ module/ lumxstd/
# Persistence headers see the platform and the public headers; its sources (and its
# internal/ headers) also the framework.
forbid 'src/persist/*.h' components/ module/ lumxstd/ ip/ ch_core/
forbid "src/persist/$sources" components/bridge/ $(components_except) module/ lumxstd/
forbid "src/components/framework/$sources" components/bridge/ $(components_except) module/ lumxstd/
forbid "src/components/bridge/$sources" $(components_except) module/ lumxstd/
# A component family may use the one-image operator base, not another family.
for dir in src/components/*/; do
  family=$(basename "$dir")
  [[ $family == framework || $family == bridge ]] && continue
  forbid "$dir$sources" $(components_except oneimage "$family") module/ lumxstd/
done
forbid "src/lumxstd/$sources" module/
# The command reaches the library as a host does: public headers, the platform and the
# image-file library only.
forbid "apps/$sources" std/ ip/ ch_core/ persist/ components/ module/ lumxstd/
# Image files work through the platform and the public interfaces (and may use std/);
# only programs and tests include them.
forbid "src/imagefile/$sources" ip/ ch_core/ persist/ components/ module/ lumxstd/
for dir in src/*/; do
  [[ $dir == src/imagefile/ ]] || forbid "$dir$sources" imagefile/
done

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
