#!/usr/bin/env bash
# Builds a release kalvex and prints its speed and memory figures on this
# machine: start-up against a trivial program, batch throughput and peak memory
# at three sizes, and per-call figures from Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null

build=build/bench
kalvex=$build/src/main/kalvex
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo

python3 bench/startup.py "$kalvex" "$build/bench/trivial_print"
echo

printf '%-10s %9s %12s %12s %14s %12s %8s\n' kind items seconds items/s in+out_MB peak_MB ratio
for kind in expression domain mixed; do
  for count in 10000 100000 1000000; do
    input=$work/$kind-$count.json
    output=$work/$kind-$count.out.json
    python3 bench/make_batch.py "$kind" "$count" "$input"
    # A batch with an item that is not "ok" ends with status 1; that is no
    # failure of the benchmark. Wall time is taken in nanoseconds, as the
    # hundredths that /usr/bin/time prints are too coarse for 10,000 items.
    start_ns=$(date +%s%N)
    /usr/bin/time -v "$kalvex" compute --input "$input" --output "$output" 2>"$work/time.txt" >/dev/null || true
    end_ns=$(date +%s%N)
    seconds=$(awk -v a="$start_ns" -v b="$end_ns" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
    peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    bytes=$(( $(stat -c %s "$input") + $(stat -c %s "$output") ))
    awk -v k="$kind" -v n="$count" -v s="$seconds" -v p="$peak_kb" -v b="$bytes" 'BEGIN {
      printf "%-10s %9d %12.3f %12.0f %14.1f %12.1f %8.2f\n", k, n, s, (s > 0 ? n / s : 0), b / 1e6, p / 1024, (p * 1024) / b }'
    rm -f "$input" "$output"
  done
done
echo
echo "targets: start-up ratio <= 1.5; >= 300000 items/s; peak memory <= 2.0 x (input + output)"
echo

"$build/bench/kalvex_bench" --benchmark_min_time=0.2
