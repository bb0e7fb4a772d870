#!/usr/bin/env bash
# Builds the release benchmark of the scene painter, runs it and prints the two targets: a full
# repaint of the 1,000-figure scene within 1.5 x the bare QPainter floor at both image sizes, and
# within 16 ms at 1280 x 1024. Times are medians of 5 repetitions, wall clock and CPU.
# Usage: bench/run_render_bench.sh [build dir]   (JSON lands in <build dir>/render_bench.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench-render}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" -j2 --target korvan_bench_render
json="$build/render_bench.json"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/korvan_bench_render" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {r["run_name"].replace("/real_time", ""): r for r in runs if r.get("aggregate_name") == "median"}
print("median of 5 repetitions (ms):                    wall       cpu")
for name, r in med.items():
    print(f"  {name:44s} {r['real_time']:9.2f} {r['cpu_time']:9.2f}")
for size in ("1280/1024", "3000/2000"):
    ours, floor = med[f"BM_RedrawScene/{size}"], med[f"BM_BareQPainterFloor/{size}"]
    r = ours["real_time"] / floor["real_time"]
    print(f"  {size}: RedrawScene / floor = {r:.2f} wall, {ours['cpu_time'] / floor['cpu_time']:.2f} cpu"
          f"  (target <= 1.5: {'met' if r <= 1.5 else 'MISSED'})")
t = med["BM_RedrawScene/1280/1024"]["real_time"]
print(f"  1280/1024: RedrawScene = {t:.2f} ms wall (target <= 16: {'met' if t <= 16 else 'MISSED'})")
PY
