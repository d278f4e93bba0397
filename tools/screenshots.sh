#!/usr/bin/env bash
# Makes the README's screenshots from the real program under Xvfb: the main
# window at its defaults, the jacket-side flow chart, "Reach a value…" for a
# duty of 50 kW, the selection window for 40 kW, the cases window and the
# comparison of the cases it added, and the selection window with design
# conditions (boiler water 80/60 °C heating 1 m3/h from 10 to 55 °C), each in
# English and in Russian. Run it after a build:
# bash tools/screenshots.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program=$build/Ventrano
out=docs
tmp=$(mktemp -d)
im=$(command -v convert-im6.q16 || command -v convert)

source tools/xvfb.sh
trap '_xvfb_cleanup; rm -rf "$tmp"' EXIT
start_xvfb "$tmp"
start_program "$tmp/program.log" "$program"
sleep 1
import -window "$win" "$tmp/main.png"

# The jacket-side flow chart button sits at the jacket flow field.
xdotool mousemove --window "$win" 123 435 click 1
chart=
for _ in $(seq 100); do
  chart=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vx "$win" | head -n1 || true)
  [ -n "$chart" ] && break
  sleep 0.05
done
[ -n "$chart" ] || { echo "no chart window"; exit 1; }
sleep 1
xdotool windowraise "$chart"
sleep 0.3
import -window "$chart" "$tmp/chart.png"

# A window of the program's that is none of the ones given.
new_window() {
  local w
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vxF -f <(printf '%s\n' "$@") | head -n1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.05
  done
  return 1
}

# "Reach a value…": a right click on the heat duty offers it as the menu's
# choice, Enter opens it, 50 kW typed; Esc closes it.
reach_dialog() {
  xdotool windowraise "$win"
  xdotool windowfocus --sync "$win"
  xdotool mousemove --window "$win" 350 479 click 3
  sleep 0.5
  xdotool key Return
  reach=$(new_window "$win" "$chart" "${selection:-none}" "${cases:-none}" "${compare:-none}") \
    || { echo "no reach dialog"; exit 1; }
  sleep 0.5
  xdotool windowfocus --sync "$reach"
  xdotool type --delay 50 50
  sleep 0.5
  import -window "$reach" "$1"
  xdotool key Escape
  sleep 0.3
}
reach_dialog "$tmp/reach.png"

# The selection window: Ctrl+F in the main window, 40 kW typed.
xdotool windowraise "$win"
xdotool windowfocus --sync "$win"
xdotool key ctrl+f
selection=
for _ in $(seq 100); do
  selection=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vx "$win" | grep -vx "$chart" | head -n1 || true)
  [ -n "$selection" ] && break
  sleep 0.05
done
[ -n "$selection" ] || { echo "no selection window"; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$selection"
xdotool type --delay 50 40
sleep 0.5
import -window "$selection" "$tmp/selection.png"

# The first four rows of the list into the project: Tab from the duty
# field to the list (ten stops), Shift+Down thrice, Tab to "Add to project".
xdotool key --delay 30 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab shift+Down shift+Down shift+Down Tab space
sleep 0.3
# The cases window: Ctrl+K in the main window.
xdotool windowraise "$win"
xdotool windowfocus --sync "$win"
xdotool key ctrl+k
cases=$(new_window "$win" "$chart" "$selection") || { echo "no cases window"; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$cases"
# The main window's case and the first three added, compared: Shift+Down
# thrice in the list, Shift+Tab twice to Compare.
xdotool key --delay 30 ctrl+Home shift+Down shift+Down shift+Down
sleep 0.3
import -window "$cases" "$tmp/cases.png"
xdotool key --delay 30 shift+Tab shift+Tab space
compare=$(new_window "$win" "$chart" "$selection" "$cases") || { echo "no comparison window"; exit 1; }
sleep 0.5
import -window "$compare" "$tmp/compare.png"
# "RUS" in the main window's language list; the selection window follows.
xdotool windowraise "$win"
xdotool mousemove --window "$win" 68 10 click 1
sleep 0.6
xdotool key Down Return
sleep 0.5
xdotool windowraise "$selection"
sleep 0.3
import -window "$selection" "$tmp/selection-rus.png"
for w in cases compare; do
  xdotool windowraise "${!w}"
  sleep 0.3
  import -window "${!w}" "$tmp/$w-rus.png"
done
reach_dialog "$tmp/reach-rus.png"

# Design conditions: the coil-side inlet 10 °C in the main window; in the
# selection window (Ctrl+F puts the keyboard into its duty field) the
# outlets 60 and 55 °C, which give the duty (ticked already) and the
# shell-side flow (ticked with the space bar). The conditions come before
# the duty: seven Shift+Tabs lead from it to the shell-side outlet.
xdotool windowraise "$win"
xdotool windowfocus --sync "$win"
xdotool mousemove --window "$win" 625 93 click 1
xdotool key ctrl+a
xdotool type --delay 50 10
xdotool key Tab
sleep 0.3
xdotool key ctrl+f
sleep 0.5
xdotool windowfocus --sync "$selection"
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
xdotool type --delay 50 60
xdotool key Tab
xdotool type --delay 50 55
xdotool key Tab Tab space
sleep 0.5
import -window "$selection" "$tmp/design-rus.png"
# Back to English ("English" is just above "RUS").
xdotool windowraise "$win"
xdotool mousemove --window "$win" 68 10 click 1
sleep 0.6
xdotool key Up Return
sleep 0.5
xdotool windowraise "$selection"
sleep 0.3
import -window "$selection" "$tmp/design.png"

# Small files: a palette of the colours actually used (the windows of text
# without dithering, which would only add noise).
mkdir -p "$out"
"$im" "$tmp/main.png" -colors 64 "PNG8:$out/main-window.png"
"$im" "$tmp/chart.png" -colors 64 "PNG8:$out/chart-jacket-flow.png"
"$im" "$tmp/selection.png" +dither -colors 64 "PNG8:$out/selection-window.png"
"$im" "$tmp/selection-rus.png" +dither -colors 64 "PNG8:$out/selection-window-rus.png"
for w in cases compare; do
  "$im" "$tmp/$w.png" +dither -colors 64 "PNG8:$out/$w-window.png"
  "$im" "$tmp/$w-rus.png" +dither -colors 64 "PNG8:$out/$w-window-rus.png"
done
"$im" "$tmp/reach.png" +dither -colors 64 "PNG8:$out/reach-dialog.png"
"$im" "$tmp/reach-rus.png" +dither -colors 64 "PNG8:$out/reach-dialog-rus.png"
"$im" "$tmp/design.png" +dither -colors 64 "PNG8:$out/selection-design.png"
"$im" "$tmp/design-rus.png" +dither -colors 64 "PNG8:$out/selection-design-rus.png"
ls -l "$out"/main-window.png "$out"/chart-jacket-flow.png "$out"/selection-window.png "$out"/selection-window-rus.png \
  "$out"/cases-window.png "$out"/cases-window-rus.png "$out"/compare-window.png "$out"/compare-window-rus.png \
  "$out"/reach-dialog.png "$out"/reach-dialog-rus.png "$out"/selection-design.png "$out"/selection-design-rus.png
