#!/usr/bin/env bash
# The real program under Xvfb: each of the four chart buttons opens the chart
# window with its chart; then the same in Russian. Screenshots go to the
# output folder. With QT_SCALE_FACTOR set, the checks scale with it.
set -euo pipefail
program=$1
out=${2:-/tmp/ventrano-e2e-charts}
mkdir -p "$out"
im=$(command -v convert-im6.q16 || command -v convert)
scale=${QT_SCALE_FACTOR:-1}

source "$(dirname "$0")/../../tools/xvfb.sh"
source "$(dirname "$0")/common.sh"
start_xvfb "$out" 1600x1200
start_program "$out/program.log" "$program"
sleep 1

s() { echo $(($1 * scale)); }
pixel() { "$im" "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
count() { # image crop colour: pixels of exactly that colour
  "$im" "$1" -crop "$2" +repage -fill black +opaque "rgb($3)" -fill white -opaque "rgb($3)" \
    -format '%[fx:int(mean*w*h)]' info:
}
chart_window() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vx "$win" | head -n1 || true; }

# button name, x, y of its centre in the main window, chart title check
shoot() { # tag x y
  xdotool windowraise "$win"
  xdotool mousemove --window "$win" "$(s "$2")" "$(s "$3")" click 1
  local cw=
  for _ in $(seq 100); do cw=$(chart_window); [ -n "$cw" ] && break; sleep 0.05; done
  [ -n "$cw" ] || { bad "$1: no chart window"; return; }
  sleep 0.7
  xdotool windowraise "$cw"
  sleep 0.3
  local f=$out/$1.png
  import -window "$cw" "$f"
  local size; size=$("$im" "$f" -format '%w %h' info:)
  local w=${size% *} h=${size#* }
  # The client area is 723 x 467 below the menu bar.
  [ "$w" = "$(s 723)" ] && ok "$1: window $(s 723) wide" || bad "$1: window $w wide"
  local top=$((h - $(s 467)))
  # Red heat-duty axis labels left of the plot, gray grid, black frame.
  local red; red=$(count "$f" "$(s 50)x$(s 300)+0+$((top + $(s 40)))" 255,0,0)
  [ "$red" -gt 100 ] && ok "$1: heat-duty labels ($red red pixels)" || bad "$1: no heat-duty labels ($red)"
  local gray; gray=$(count "$f" "$(s 600)x$(s 300)+$(s 60)+$((top + $(s 40)))" 128,128,128)
  [ "$gray" -gt $((2000 * scale)) ] && ok "$1: grid ($gray gray pixels)" || bad "$1: no grid ($gray)"
  local green; green=$(count "$f" "$(s 100)x$(s 3)+$(s 16)+$((top + $(s 442)))" 0,255,0)
  [ "$green" -gt $((90 * scale)) ] && ok "$1: green legend line" || bad "$1: no green legend line ($green)"
  local curves; curves=$(count "$f" "$(s 600)x$(s 310)+$(s 60)+$((top + $(s 38)))" 0,0,255)
  [ "$curves" -gt $((100 * scale)) ] && ok "$1: blue curve" || bad "$1: no blue curve ($curves)"
}

shoot jacket-inlet 131 335
shoot jacket-flow 123 435
shoot coil-flow 459 55
shoot coil-inlet 621 47

# Russian: the language list through the keyboard, then the coil-flow chart.
xdotool windowraise "$win"
xdotool mousemove --window "$win" "$(s 68)" "$(s 10)" click 1
sleep 0.6
xdotool key Down Return
sleep 0.5
shoot coil-flow-rus 459 55

kill -0 "$app" 2>/dev/null && ok "program still running" || bad "program ended"
exit $fail
