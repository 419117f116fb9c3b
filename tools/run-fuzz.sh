#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, starting from its committed
# seed corpus (left untouched: new inputs go to <build>/corpus/<target>), and prints each
# target's executions per second and features reached. Fails when a target crashes; the
# crashing input is left in <build>/crashes/<target>/ to become a regression test.
set -uo pipefail
build_dir=${1:?fuzz build directory}
seconds=${2:-60}
source_dir=$(cd "$(dirname "$0")/.." && pwd)/tests/fuzz
targets=(core_archive persist_binary persist_text image_file dispatch)

failed=0
printf '%-16s %10s %10s %8s  %s\n' target execs exec/s features result
for target in "${targets[@]}"; do
  corpus=$build_dir/corpus/$target crashes=$build_dir/crashes/$target
  mkdir -p "$corpus" "$crashes"
  dict=()
  [[ -f $source_dir/dict/$target.dict ]] && dict=(-dict="$source_dir/dict/$target.dict")
  log=$build_dir/fuzz-$target.log
  # Detection of leaks stays on; a run that would need more than 2 GB is a fault too.
  "$build_dir/tests/fuzz/fuzz_$target" "$corpus" "$source_dir/corpus/$target" "${dict[@]}" \
    -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$crashes/" -print_final_stats=1 >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  features=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  result=ok
  if [[ $rc -ne 0 ]]; then
    result="CRASH (see $log)"
    failed=1
    grep -m1 -A12 -E '^==[0-9]+==ERROR|runtime error|deadly signal' "$log"
  fi
  printf '%-16s %10s %10s %8s  %s\n' "$target" "${execs:-?}" "${speed:-?}" "${features:-?}" "$result"
done
exit "$failed"
