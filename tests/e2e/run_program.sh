#!/usr/bin/env bash
# Starts the real program under Xvfb, takes a screenshot of its window and
# checks what the user sees at the defaults.
set -euo pipefail
program=$1
out=${2:-/tmp/ventrano-e2e}
mkdir -p "$out"
im=$(command -v convert-im6.q16 || command -v convert)

for n in $(seq 90 140); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
app=
cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; wait 2>/dev/null || true; }
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$program" >"$out/program.log" 2>&1 &
app=$!
win=
for _ in $(seq 100); do
  win=$(xwininfo -root -tree 2>/dev/null | grep -F '"Hőcserélő méretezés"' | awk '{print $1}' | head -n1 || true)
  [ -n "$win" ] && break
  kill -0 "$app" 2>/dev/null || { echo "program ended early"; cat "$out/program.log"; exit 1; }
  sleep 0.1
done
[ -n "$win" ] || { echo "no main window"; exit 1; }
sleep 1
import -window "$win" "$out/main.png"

size=$("$im" "$out/main.png" -format '%wx%h' info:)
pixel() { "$im" "$out/main.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
fail=0
expect() { # x y r,g,b what
  local got; got=$(pixel "$1" "$2")
  if [ "$got" != "$3" ]; then echo "FAIL $4 at ($1,$2): $got, want $3"; fail=1; else echo "ok   $4"; fi
}
[ "$size" = "701x571" ] && echo "ok   window 701x571" || { echo "FAIL window size $size"; fail=1; }
expect 600 12 0,0,128 "navy title bar"
expect 50 384 255,0,0 "arrow 3 red"
expect 640 122 0,0,255 "arrow 2 blue"
expect 300 488 128,128,128 "grid line"
expect 150 530 128,128,128 "grid column"
# The heat-duty line: dark text pixels inside the rectangle of QLabel.
dark=$("$im" "$out/main.png" -crop 697x17+0+471 -threshold 50% -negate -format '%[fx:int(mean*w*h)]' info:)
if [ "$dark" -gt 100 ]; then echo "ok   heat-duty text ($dark dark pixels)"; else echo "FAIL no heat-duty text ($dark)"; fail=1; fi
exit $fail
