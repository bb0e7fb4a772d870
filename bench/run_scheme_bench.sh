#!/usr/bin/env bash
# Builds the release benchmark of the scheme file, runs it, and prints the target ratios:
# load / (read + split lines) <= 5 and save / (atomic write of the same bytes) <= 3 for the scheme of
# 1,000 figures, hexadecimal coding of picture values >= 500 MB/s, and the speed-up of the one-pass
# save over the key-by-key writer at 100 figures (> 500). Times are medians of 5 repetitions.
# Usage: bench/run_scheme_bench.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" -j2 --target korvan_bench_scheme
json="$build/scheme_bench.json"
"$build/bench/korvan_bench_scheme" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>"$build/scheme_bench.log"
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {r["run_name"]: r for r in runs if r.get("aggregate_name") == "median"}
print("median of 5 repetitions:               wall ms     cpu ms")
for name, r in med.items():
    print(f"  {name:34s} {r['real_time']:9.2f} {r['cpu_time']:9.2f}")
def ratio(a, b, target):
    x = med[a]["real_time"] / med[b]["real_time"]
    print(f"  {a} / {b} = {x:.2f}  (target <= {target}: {'met' if x <= target else 'MISSED'})")
for kind in ("Plain", "Pictures"):
    ratio(f"Load/{kind}", f"ReadAndSplitLines/{kind}", 5)
    ratio(f"Save/{kind}", f"WriteBytesAtomic/{kind}", 3)
for name in ("HexDecode", "HexEncode"):
    mbs = med[name]["bytes_per_second"] / 1e6
    print(f"  {name}: {mbs:.0f} MB/s of hex text  (target >= 500: {'met' if mbs >= 500 else 'MISSED'})")
k = med["KeyByKeySave100/iterations:3"]["real_time"] / med["OnePassSave100"]["real_time"]
print(f"  key-by-key / one-pass save at 100 figures = {k:.0f}x  (target > 500: {'met' if k > 500 else 'MISSED'})")
PY
