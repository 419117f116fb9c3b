#!/usr/bin/env bash
# Runs the test suite of one build directory and prints a short summary at the end.
set -uo pipefail
build_dir=${1:?build directory}
jobs=${2:-2}

# Tests never read or write the user's own class registry file.
export LUMXIP_REGISTRY="$(cd "$build_dir" && pwd)/test-registry.json"

start=$(date +%s)
ctest --test-dir "$build_dir" --output-on-failure --timeout 300 -j "$jobs" \
  | grep -vE '^ *([0-9]+/[0-9]+ Test +#[0-9]+: .* Passed|Start +[0-9]+: )'
rc=${PIPESTATUS[0]}
echo "== $build_dir: $([[ $rc -eq 0 ]] && echo 'all tests passed' || echo 'FAILURES') in $(( $(date +%s) - start )) s"
exit "$rc"
