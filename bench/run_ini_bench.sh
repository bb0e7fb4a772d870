#!/usr/bin/env bash
# Builds the release benchmark of the INI document, runs it with a warm heap (freed memory reused)
# and with a cold one (every large block fresh from the kernel), and prints the two target ratios
# for each: parse / (read + split lines) <= 5 and (serialise + atomic save) / (atomic write of the
# same bytes) <= 3. Times are medians of 5 repetitions, wall clock.
# Usage: bench/run_ini_bench.sh [build dir]   (JSON lands in <build dir>/ini_bench_{warm,cold}.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench-ini}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" -j2 --target korvan_bench_ini
for heap in warm cold; do
  json="$build/ini_bench_$heap.json"
  cold=0
  [ "$heap" = cold ] && cold=1
  KORVAN_BENCH_COLD=$cold "$build/bench/korvan_bench_ini" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json \
    >/dev/null 2>"$build/ini_bench_$heap.log"
  python3 - "$json" "$heap" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
real = {r["run_name"]: r["real_time"] for r in runs if r.get("aggregate_name") == "median"}
cpu = {r["run_name"]: r["cpu_time"] for r in runs if r.get("aggregate_name") == "median"}
print(f"{sys.argv[2]} heap, median of 5 repetitions (ms):    wall       cpu")
for name in real:
    print(f"  {name:28s} {real[name]:9.2f} {cpu[name]:9.2f}")
def ratio(a, b, target):
    r = real[a] / real[b]
    verdict = "met" if r <= target else "MISSED"
    print(f"  {a} / {b} = {r:.2f}  (target <= {target}: {verdict})")
ratio("ParseIniFile", "ReadFileAndSplitLines", 5)
ratio("SerializeAndSaveFile", "WriteBytesAtomic", 3)
print(f"  (reference: SerializeAndSaveFile / WriteBytesPlain = {real['SerializeAndSaveFile'] / real['WriteBytesPlain']:.2f})")
PY
done
