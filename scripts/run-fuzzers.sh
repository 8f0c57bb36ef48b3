#!/usr/bin/env bash
# Runs every libFuzzer target that the `fuzz` preset built, one after the
# other, each for SECONDS. Usage: run-fuzzers.sh BUILD_DIR SECONDS
# The corpus of each target grows in BUILD_DIR/corpus/NAME across runs,
# seeded from the folders and files the build lists; a crashing input is
# kept in BUILD_DIR/findings/NAME/, and the script then fails.
set -uo pipefail

build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
list="$build/fuzz/targets.txt"
[ -f "$list" ] || { echo "run-fuzzers: $list is missing; build the fuzz preset first" >&2; exit 2; }

# Large enough for deep nesting (JSON arrays, version-information nodes).
max_len=262144
failed=()
while read -r name binary seeds; do
  [ -n "$name" ] || continue
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  mkdir -p "$corpus" "$findings"
  seed_dir="$build/seeds/$name"
  rm -rf "$seed_dir" && mkdir -p "$seed_dir"
  for seed in $seeds; do
    if [ -d "$seed" ]; then cp "$seed"/* "$seed_dir"/ 2>/dev/null; else cp "$seed" "$seed_dir"/; fi
  done
  echo "run-fuzzers: $name for ${seconds}s (corpus $corpus, seeds from: $seeds)"
  if ! "$binary" -max_total_time="$seconds" -max_len="$max_len" -timeout=20 \
      -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$corpus" "$seed_dir" </dev/null 2>"$build/$name.log"; then
    failed+=("$name")
    tail -n 60 "$build/$name.log" >&2
    echo "run-fuzzers: $name found a fault; the input is in $findings/" >&2
  else
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|INFO: .*corpus)' \
      "$build/$name.log" | tail -n 3
  fi
done <"$list"

if ((${#failed[@]} > 0)); then
  echo "run-fuzzers: faults found by: ${failed[*]}" >&2
  exit 1
fi
echo "run-fuzzers: no faults found"
