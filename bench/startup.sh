#!/usr/bin/env bash
# Start-up time and memory of the program against a bare Qt window with one
# label, both started the same way under Xvfb:
#   start: from the launch to the first paint of the main window on the
#          screen (the window writes the time itself, see platform/firstpaint.h);
#   memory: peak resident set (VmHWM) half a second after that paint.
# Medians (and the fastest run) over RUNS runs each (default 9), the two
# programs taking turns.
# Usage: bench/startup.sh [build-dir]   (builds the two targets first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-9}
settle=0.5

cmake --build "$build" -j2 --target Ventrano bare_window >/dev/null
program=$build/Ventrano
bare=$build/bench/bare_window

work=$(mktemp -d)
xvfb=
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1600x1200x24 -noreset -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
# A home of its own: no recovery offer or settings of the user's in the way.
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_STATE_HOME="$work/home/.local/state"
export QT_FONT_DPI=96 VENTRANO_FIRST_PAINT=1

# One run: prints "<ms to first paint> <VmHWM in KiB>".
measure() {
  local log=$work/log
  : >"$log"
  local t0=$EPOCHREALTIME
  "$1" 2>"$log" &
  local pid=$!
  local line=
  for _ in $(seq 3000); do
    line=$(grep -m1 '^first-paint ' "$log" || true)
    [ -n "$line" ] && break
    sleep 0.01
  done
  [ -n "$line" ] || { echo "no first paint from $1" >&2; cat "$log" >&2; kill "$pid"; exit 1; }
  sleep "$settle"
  local hwm; hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  local start_us=${t0/./}
  echo "$(( (${line#first-paint } - 10#$start_us) ))" "$hwm" | awk '{ printf "%.1f %d\n", $1 / 1000, $2 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A run of each first, so that both start from a warm file cache.
measure "$bare" >/dev/null
measure "$program" >/dev/null
: >"$work/bare" ; : >"$work/program"
for _ in $(seq "$runs"); do
  measure "$bare" >>"$work/bare"
  measure "$program" >>"$work/program"
done

bare_ms=$(cut -d' ' -f1 "$work/bare" | median)
prog_ms=$(cut -d' ' -f1 "$work/program" | median)
bare_min=$(cut -d' ' -f1 "$work/bare" | sort -n | head -n1)
prog_min=$(cut -d' ' -f1 "$work/program" | sort -n | head -n1)
bare_kb=$(cut -d' ' -f2 "$work/bare" | median)
prog_kb=$(cut -d' ' -f2 "$work/program" | median)

[ -n "${KEEP:-}" ] && cp "$work/bare" "$work/program" "$KEEP"/
printf 'Start to first paint and peak resident memory, median of %d runs under Xvfb\n' "$runs"
printf '(%s, %s cores, %s)\n\n' "$(uname -m)" "$(nproc)" "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
printf '%-34s %12s %12s %16s\n' "" "start (ms)" "fastest (ms)" "peak RSS (MiB)"
printf '%-34s %12.1f %12.1f %16.1f\n' "bare Qt window with one label" "$bare_ms" "$bare_min" \
  "$(awk -v k="$bare_kb" 'BEGIN { print k / 1024 }')"
printf '%-34s %12.1f %12.1f %16.1f\n' "Ventrano" "$prog_ms" "$prog_min" "$(awk -v k="$prog_kb" 'BEGIN { print k / 1024 }')"
printf '%-34s %12.2f %12.2f %16.2f\n' "ratio (target at most 1.30)" \
  "$(awk -v a="$prog_ms" -v b="$bare_ms" 'BEGIN { print a / b }')" \
  "$(awk -v a="$prog_min" -v b="$bare_min" 'BEGIN { print a / b }')" \
  "$(awk -v a="$prog_kb" -v b="$bare_kb" 'BEGIN { print a / b }')"
