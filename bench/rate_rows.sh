#!/usr/bin/env bash
# Rows a second of `ventrano-rate rate`: a generated file of cases over the
# whole field range (every type, 1 to 150 in series and in parallel, both
# units, flows and inlets across their fields) rated RUNS times into
# /dev/null; the median run, by the clock and by the processor time it used.
# Usage: bench/rate_rows.sh [build-dir]     (a normal, not a sanitizer, build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rows=${ROWS:-500000}
runs=${RUNS:-5}
cmake --build "$build" --target ventrano-rate >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v n="$rows" 'BEGIN {
  srand(1)
  print "id,type,series,parallel,jacket_flow,coil_flow,jacket_unit,coil_unit,jacket_inlet,coil_inlet"
  split("VT/R-0 VT/R-1 VT/R-2 VT/R-3 VR/T-4", t, " ")
  for (i = 1; i <= n; i++) {
    s = rand() < 0.8 ? 1 + int(rand() * 10) : 1 + int(rand() * 150)
    p = rand() < 0.8 ? 1 + int(rand() * 10) : 1 + int(rand() * 150)
    printf "%d,%s,%d,%d,%.3f,%.3f,%s,%s,%.2f,%.2f\n", i, t[1 + int(rand() * 5)], s, p,
           0.5 + rand() * 149.5, 0.5 + rand() * 149.5, (rand() < 0.5 ? "m3/h" : "l/min"),
           (rand() < 0.5 ? "m3/h" : "l/min"), -5 + rand() * 155, -5 + rand() * 155
  }
}' >"$work/cases.csv"

TIMEFORMAT='%R %U %S'
for _ in $(seq "$runs"); do
  { time "$build/cli/ventrano-rate" rate "$work/cases.csv" >/dev/null || [ $? = 1 ]; } 2>>"$work/times"
done
sort -n "$work/times" | awk -v n="$rows" -v runs="$runs" '
  { wall[NR] = $1; cpu[NR] = $2 + $3 }
  END {
    m = int((runs + 1) / 2)
    # the processor times sorted on their own
    for (i = 1; i <= runs; i++) for (j = i + 1; j <= runs; j++) if (cpu[j] < cpu[i]) { x = cpu[i]; cpu[i] = cpu[j]; cpu[j] = x }
    printf "ventrano-rate rate: %d rows, median of %d runs: %.2f s by the clock (%.0f rows/s), %.2f s of processor time (%.0f rows/s)\n",
           n, runs, wall[m], n / wall[m], cpu[m], n / cpu[m]
  }'
