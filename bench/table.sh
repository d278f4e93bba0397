#!/usr/bin/env bash
# Builds the benchmarks and prints the whole table, each figure beside its
# natural floor: the rating, one chart paint of each kind, the start of the
# program and its memory against a bare Qt window, the memory after a full
# report, the full report from the button to the last page, a repaint of
# the report's preview, the size of the report and chart page as PDF, and
# a megabyte pasted into a numeric field, the selection at the window's
# counts and over the whole field range, rows a second of ventrano-rate,
# opening and saving a project of 1000 cases, the autosave's part on the
# window's thread, and the design engine: the energy balance and reaching a
# target value.
# Usage: bench/table.sh [build-dir]     (a normal, not a sanitizer, build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target bench_rating bench_charts bench_report report_pdf bench_fields bench_selection bench_project bench_design bench_autosave ventrano-rate Ventrano bare_window >/dev/null

work=$(mktemp -d)
source tools/xvfb.sh
trap '_xvfb_cleanup; rm -rf "$work"' EXIT

# Medians of Google Benchmark runs, in microseconds: name -> value.
median_us() { # binary filter
  "$1" --benchmark_filter="$2" --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"?,/ { name = $1; gsub(/"/, "", name); sub(/_median$/, "", name);
                            t = $3; u = $5; gsub(/"/, "", u);
                            if (u == "ns") t /= 1000; else if (u == "ms") t *= 1000; else if (u == "s") t *= 1e6;
                            printf "%s %.3f\n", name, t }'
}
median_us "$build/bench/bench_rating" 'Kozelites|Szamitas' >"$work/rating"
median_us "$build/bench/bench_charts" '.' >"$work/charts"
median_us "$build/bench/bench_report" '.' >"$work/report"
median_us "$build/bench/bench_fields" '.' >"$work/fields"
median_us "$build/bench/bench_selection" '.' >"$work/selection"
median_us "$build/bench/bench_project" '.' >"$work/project"
median_us "$build/bench/bench_autosave" '.' >"$work/autosave"
median_us "$build/bench/bench_design" '.' >"$work/design"
RUNS=5 bash bench/rate_rows.sh "$build" >"$work/rate"
get() { awk -v n="$2" '$1 ~ "^" n "(/|$)" { print $2; exit }' "$1"; }

# The report with the charts and the chart page written as "Save as PDF…"
# writes them: file sizes in bytes.
mkdir "$work/pdf"
"$build/bench/report_pdf" "$work/pdf" 2>/dev/null >"$work/pdf/sizes"
bytes() { awk -v n="$1" '$1 == n { print $2 }' "$work/pdf/sizes"; }

RUNS=${RUNS:-11} bash bench/startup.sh "$build" >"$work/startup"
start_line=$(grep '^Ventrano ' "$work/startup")
bare_line=$(grep '^bare Qt window' "$work/startup")
start_ms=$(echo "$start_line" | awk '{ print $2 }')
bare_ms=$(echo "$bare_line" | awk '{ print $7 }')
bare_mib=$(echo "$bare_line" | awk '{ print $9 }')
prog_mib=$(echo "$start_line" | awk '{ print $4 }')

# Memory after a full report with the charts, in the real program under Xvfb:
# the check box and the report button clicked, the preview closed again.
start_xvfb "$work" 1600x1200
QT_FONT_DPI=96 start_program "$work/program.log" "$build/Ventrano"
sleep 1
windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
xdotool mousemove --window "$win" 118 12 click 1
xdotool mousemove --window "$win" 12 12 click 1
for _ in $(seq 100); do [ "$(windows)" -ge 2 ] && break; sleep 0.05; done
sleep 3
kib() { awk -v k="$1" '$1 == k ":" { print $2 }' "/proc/$app/status"; }
report_hwm=$(kib VmHWM)
report_rss=$(kib VmRSS)
xdotool key Escape
sleep 1
closed_rss=$(kib VmRSS)

r() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
f() { awk -v a="$1" -v d="$2" 'BEGIN { printf "%." d "f", a }'; }
{
  printf '| measurement | median | floor | ratio | target |\n'
  printf '|---|---:|---:|---:|---|\n'
  printf '| `Kozelites` at the defaults (4 passes) | %s µs | %s µs (its exponentials and logarithms) | %s | ≤ 1.5 µs |\n' \
    "$(f "$(get "$work/rating" Kozelites)" 2)" "$(f "$(get "$work/rating" KozelitesFloor)" 2)" \
    "$(r "$(get "$work/rating" Kozelites)" "$(get "$work/rating" KozelitesFloor)")"
  printf '| `Szamitas` at the defaults | %s µs | %s µs (without the texts) | %s | ≤ 4 µs |\n' \
    "$(f "$(get "$work/rating" Szamitas)" 2)" "$(f "$(get "$work/rating" SzamitasFloor)" 2)" \
    "$(r "$(get "$work/rating" Szamitas)" "$(get "$work/rating" SzamitasFloor)")"
  for k in 1 2 3 4; do
    name=("" "jacket flow" "coil flow" "jacket inlet" "coil inlet")
    printf '| chart paint, %s, 723 x 467 | %s µs | %s µs (its sweep); %s µs (a blank fill) | %s | ≤ 1000 µs |\n' \
      "${name[$k]}" "$(f "$(get "$work/charts" "ChartPaint/$k")" 0)" "$(f "$(get "$work/charts" "ChartSweepOnly/$k")" 0)" \
      "$(f "$(get "$work/charts" BlankFill)" 0)" \
      "$(r "$(get "$work/charts" "ChartPaint/$k")" "$(get "$work/charts" "ChartSweepOnly/$k")")"
  done
  printf '| start to the first paint | %s ms | %s ms (a bare Qt window with one label) | %s | ≤ 1.3 × |\n' \
    "$start_ms" "$bare_ms" "$(r "$start_ms" "$bare_ms")"
  printf '| peak resident memory after start | %s MiB | %s MiB (the bare window) | %s | ≤ 1.3 × |\n' \
    "$prog_mib" "$bare_mib" "$(r "$prog_mib" "$bare_mib")"
  printf '| peak resident memory after a full report with the charts | %s MiB | %s MiB (after start) | %s | ≤ 1.5 × |\n' \
    "$(f "$(awk -v k="$report_hwm" 'BEGIN { print k / 1024 }')" 1)" "$prog_mib" \
    "$(r "$(awk -v k="$report_hwm" 'BEGIN { print k / 1024 }')" "$prog_mib")"
  printf '| resident memory with the report preview open, then closed | %s MiB, %s MiB | | | |\n' \
    "$(f "$(awk -v k="$report_rss" 'BEGIN { print k / 1024 }')" 1)" "$(f "$(awk -v k="$closed_rss" 'BEGIN { print k / 1024 }')" 1)"
  printf '| full report with the charts, button to last page | %s ms | %s ms (its five 200 ms waits) | %s | ≤ 1100 ms |\n' \
    "$(f "$(awk -v u="$(get "$work/report" FullReportWithCharts)" 'BEGIN { print u / 1000 }')" 0)" \
    "$(f "$(awk -v u="$(get "$work/report" FiveCaptureWaits)" 'BEGIN { print u / 1000 }')" 0)" \
    "$(r "$(get "$work/report" FullReportWithCharts)" "$(get "$work/report" FiveCaptureWaits)")"
  printf '| repaint of a page of the report preview, at the zoom it opens with; at 100 %% | %s ms; %s ms | | | |\n' \
    "$(f "$(awk -v u="$(get "$work/report" PreviewPagePaint/0)" 'BEGIN { print u / 1000 }')" 1)" \
    "$(f "$(awk -v u="$(get "$work/report" PreviewPagePaint/100)" 'BEGIN { print u / 1000 }')" 1)"
  printf '| PDF of the full report with the charts (Save as PDF…) | %s kB | | | ≤ 300 kB |\n' \
    "$(f "$(awk -v b="$(bytes report.pdf)" 'BEGIN { print b / 1024 }')" 0)"
  printf '| PDF of the chart page | %s kB | | | |\n' "$(f "$(awk -v b="$(bytes chart.pdf)" 'BEGIN { print b / 1024 }')" 0)"
  printf '| 1 MiB of digits pasted into a field, Ctrl+V to the committed value | %s ms | %s ms (its text rules alone) | %s | |\n' \
    "$(f "$(awk -v u="$(get "$work/fields" HugePaste)" 'BEGIN { print u / 1000 }')" 2)" \
    "$(f "$(awk -v u="$(get "$work/fields" HugePasteRules)" 'BEGIN { print u / 1000 }')" 2)" \
    "$(r "$(get "$work/fields" HugePaste)" "$(get "$work/fields" HugePasteRules)")"
  for counts in 10x10 150x150; do
    # the slowest of the five duties, beside the plain scan of the same duty
    worst=$(awk -v c="$counts" '$1 ~ "^Selection/select_.*_" c "$" && $2 > m { m = $2; n = $1 } END { print n }' "$work/selection")
    scan=${worst/select_/scan_}
    target=$([ "$counts" = 10x10 ] && echo "≤ 2 ms" || echo "≤ 50 ms")
    printf '| selection, %s counts, slowest duty (%s) | %s ms | %s ms (the plain scan) | %s | %s |\n' \
      "${counts/x/ x }" "$(echo "$worst" | sed 's/.*select_//; s/_.*//')" \
      "$(f "$(awk -v u="$(get "$work/selection" "$worst")" 'BEGIN { print u / 1000 }')" 2)" \
      "$(f "$(awk -v u="$(get "$work/selection" "$scan")" 'BEGIN { print u / 1000 }')" 2)" \
      "$(r "$(get "$work/selection" "$worst")" "$(get "$work/selection" "$scan")")" "$target"
  done
  printf '| `ventrano-rate rate`, 500,000 cases over the field range | %s rows/s (%s by its processor time) | | | ≥ 200,000 rows/s |\n' \
    "$(awk '{ gsub(/[(]/, ""); print $14 }' "$work/rate")" "$(awk '{ gsub(/[(]/, ""); print $21 }' "$work/rate")"
  ms() { f "$(awk -v u="$(get "$work/project" "$1")" 'BEGIN { print u / 1000 }')" 1; }
  printf '| open a project of 1000 cases from its bytes (parse, check, rate, compare the stored results) | %s ms | %s ms (rating the 1000 cases) | %s | ≤ 100 ms |\n' \
    "$(ms OpenThousand)" "$(ms RateThousand)" "$(r "$(get "$work/project" OpenThousand)" "$(get "$work/project" RateThousand)")"
  printf '| save a project of 1000 cases to its bytes (rate, write) | %s ms | %s ms (rating the 1000 cases) | %s | ≤ 50 ms |\n' \
    "$(ms SaveThousand)" "$(ms RateThousand)" "$(r "$(get "$work/project" SaveThousand)" "$(get "$work/project" RateThousand)")"
  printf '| save a project of one case to its bytes | %s µs | | | |\n' "$(f "$(get "$work/project" SaveOne)" 1)"
  printf '| autosave of a one-case project, on the window'"'"'s thread (its state copied, handed to the writer) | %s µs | %s µs (its text, which the writer makes) | %s | ≤ 16.7 ms (a frame) |\n' \
    "$(f "$(get "$work/autosave" AutosaveWindowPart/1)" 1)" "$(f "$(get "$work/autosave" RecoveryText/1)" 1)" \
    "$(r "$(get "$work/autosave" AutosaveWindowPart/1)" "$(get "$work/autosave" RecoveryText/1)")"
  printf '| autosave of a project of 1000 cases, on the window'"'"'s thread | %s ms | %s ms (its text, which the writer makes) | %s | ≤ 16.7 ms (a frame) |\n' \
    "$(f "$(awk -v u="$(get "$work/autosave" AutosaveWindowPart/1000)" 'BEGIN { print u / 1000 }')" 2)" \
    "$(f "$(awk -v u="$(get "$work/autosave" RecoveryText/1000)" 'BEGIN { print u / 1000 }')" 2)" \
    "$(r "$(get "$work/autosave" AutosaveWindowPart/1000)" "$(get "$work/autosave" RecoveryText/1000)")"
  printf '| the recovery file of one case written whole, fsync included (the writer'"'"'s thread) | %s ms | | | |\n' \
    "$(f "$(awk -v u="$(get "$work/autosave" RecoveryFileWrite)" 'BEGIN { print u / 1000 }')" 2)"
  # The balance each way of deriving, beside the two sides' balances alone.
  for way in both_outlets:"two outlets from the duty and both flows" \
             duty_and_coil_outlet:"the duty and the coil outlet from both flows and the jacket outlet" \
             jacket_flow_and_duty:"the jacket flow and the duty from the coil flow and both outlets" \
             both_flows:"both flows from both outlets and the duty"; do
    printf '| balance, %s | %s µs | %s µs (the two sides'"'"' balances alone) | %s | ≤ 1 µs |\n' "${way#*:}" \
      "$(f "$(awk -v u="$(get "$work/design" "Balance/${way%%:*}")" 'BEGIN { print u }')" 2)" \
      "$(f "$(get "$work/design" SideBalances)" 2)" \
      "$(r "$(get "$work/design" "Balance/${way%%:*}")" "$(get "$work/design" SideBalances)")"
  done
  # Reaching a target at the main window's installation, each pair beside
  # the rating of every value of its input's grid; then the slowest.
  pairs=(jacket_flow_duty_40:flow:"jacket flow → duty 40 kW"
         coil_flow_coil_outlet_50:flow:"coil flow → coil outlet 50 °C"
         coil_flow_jacket_outlet_70:flow:"coil flow → jacket outlet 70 °C"
         jacket_inlet_duty_30:inlet:"jacket inlet → duty 30 kW"
         coil_inlet_jacket_outlet_70:inlet:"coil inlet → jacket outlet 70 °C"
         fouling_duty_45:fouling:"fouling → duty 45 kW"
         jacket_flow_jacket_drop_50:flow:"jacket flow → jacket drop 50 kPa"
         jacket_flow_duty_beyond_80:flow:"jacket flow → duty 80 kW, out of reach")
  slowest=
  for p in "${pairs[@]}"; do
    IFS=: read -r key grid text <<<"$p"
    t=$(get "$work/design" "Reach/$key")
    if [ -z "$slowest" ] || awk -v a="$t" -v b="$(get "$work/design" "Reach/${slowest%%:*}")" 'BEGIN { exit !(a > b) }'; then
      slowest=$p
    fi
    printf '| reach a target, %s | %s ms | %s ms (every value of the grid rated) | %s | ≤ 1 ms |\n' "$text" \
      "$(f "$(awk -v u="$t" 'BEGIN { print u / 1000 }')" 2)" \
      "$(f "$(awk -v u="$(get "$work/design" "Scan/$grid")" 'BEGIN { print u / 1000 }')" 1)" \
      "$(awk -v a="$t" -v b="$(get "$work/design" "Scan/$grid")" 'BEGIN { printf "%.3f", a / b }')"
  done
  IFS=: read -r key grid text <<<"$slowest"
  printf '| reach a target, slowest of the eight (%s) | %s ms | | | ≤ 1 ms |\n' "$text" \
    "$(f "$(awk -v u="$(get "$work/design" "Reach/$key")" 'BEGIN { print u / 1000 }')" 2)"
  printf '\n%s, %s cores, %s; %s.\n' "$(uname -m)" "$(nproc)" \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')" "$(date -u +%Y-%m-%d)"
}
