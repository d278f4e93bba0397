#!/usr/bin/env bash
# The selection window in the real program under Xvfb: Ctrl+F in the main
# window opens it, a typed duty fills its list, Esc closes it, the button on
# the schematic opens it again, and the program still ends with 0 when its
# main window is closed. Windows are found by the program's process id.
set -euo pipefail
program=$1
out=${2:-/tmp/ventrano-e2e-selection}
mkdir -p "$out"
im=$(command -v convert-im6.q16 || command -v convert)

source "$(dirname "$0")/../../tools/xvfb.sh"
source "$(dirname "$0")/common.sh"
start_xvfb "$out" 1280x1024
start_program "$out/program.log" "$program"
sleep 1

others() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vx "$win" || true; }
wait_for() { # condition, as a command
  for _ in $(seq 100); do "$@" && return 0; sleep 0.05; done
  return 1
}
one_more() { [ "$(others | wc -l)" = 1 ]; }
none_more() { [ -z "$(others)" ]; }
# Pixels of a crop that are dark (text).
dark() { "$im" "$1" -crop "$2" +repage -colorspace gray -threshold 40% -negate -format '%[fx:int(mean*w*h)]' info:; }

main=$out/main.png
import -window "$win" "$main"
# The button's picture beside the exchanger: red and blue strokes.
reds=$("$im" "$main" -crop 23x22+420+196 +repage -fx 'r>0.8 && g<0.3 && b<0.3' -format '%[fx:int(mean*w*h)]' info:)
[ "$reds" -gt 5 ] && ok "selection button on the schematic ($reds red pixels)" || bad "no selection button at 420,196"

xdotool windowfocus --sync "$win"
xdotool key ctrl+f
if wait_for one_more; then ok "Ctrl+F opens the selection window"; else bad "Ctrl+F opened no window"; exit 1; fi
sel=$(others | head -n1)
sleep 0.5
geometry=$(xdotool getwindowgeometry "$sel" | sed -n 's/.*Geometry: //p')
width=${geometry%x*}
[ "$width" -ge 900 ] && ok "selection window $geometry" || bad "selection window only $geometry"

before=$out/selection-empty.png
import -window "$sel" "$before"
xdotool windowfocus --sync "$sel"
xdotool type --delay 60 40
sleep 0.5
after=$out/selection-40.png
import -window "$sel" "$after"
# The list below the fields fills with rows of numbers.
h=${geometry#*x}
region="$((width - 40))x$((h - 320))+12+260"
n0=$(dark "$before" "$region")
n1=$(dark "$after" "$region")
[ "$n1" -gt $((n0 + 2000)) ] && ok "a typed duty fills the list ($n0 -> $n1 dark pixels)" \
  || bad "the list did not fill ($n0 -> $n1 dark pixels)"

xdotool key Escape
if wait_for none_more; then ok "Esc closes the selection window"; else bad "Esc left the window open"; fi

xdotool mousemove --window "$win" 431 207 click 1
if wait_for one_more; then ok "the schematic's button opens it again"; else bad "the button opened no window"; fi

close_and_expect_zero "$out/program.log"
exit $fail
