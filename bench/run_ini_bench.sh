#!/usr/bin/env bash
# Builds the release benchmark of the INI document, runs it, and prints the two target ratios:
# parse / (read + split lines) <= 5 and (serialise + atomic save) / (atomic write of the bytes) <= 3.
# Usage: bench/run_ini_bench.sh [build dir]   (JSON lands in <build dir>/ini_bench.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench-ini}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" -j2 --target korvan_bench_ini
json="$build/ini_bench.json"
"$build/bench/korvan_bench_ini" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {r["run_name"]: r["real_time"] for r in runs if r.get("aggregate_name") == "median"}
def ratio(a, b, target):
    r = median[a] / median[b]
    verdict = "met" if r <= target else "MISSED"
    print(f"{a} / {b} = {median[a]:.2f} ms / {median[b]:.2f} ms = {r:.2f} (target <= {target}: {verdict})")
print("median wall times over 5 repetitions:")
for name, t in median.items():
    print(f"  {name:24s} {t:8.2f} ms")
ratio("ParseIniFile", "ReadFileAndSplitLines", 5)
ratio("SerializeAndSaveFile", "WriteBytesAtomic", 3)
print(f"(for reference: SerializeAndSaveFile / WriteBytesPlain = {median['SerializeAndSaveFile'] / median['WriteBytesPlain']:.2f})")
PY
