#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a while (default 60 seconds).
# A crash, a sanitizer report or a timeout makes the run fail.
#   scripts/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in json_roundtrip expression input_document; do
  binary=build/fuzz/fuzz/${target}_fuzzer
  [ -x "$binary" ] || continue
  echo "== fuzzing ${target} for ${seconds}s"
  mkdir -p "$work/$target"
  # New inputs go to the scratch folder; the committed seeds are only read.
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/$target" "fuzz/corpus/$target" 2>&1 | tail -n 12
done
