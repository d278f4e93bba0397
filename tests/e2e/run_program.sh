#!/usr/bin/env bash
# Starts the real program under Xvfb and checks what the user sees: the
# defaults in English, then "RUS" chosen in the language list with the
# keyboard; at the end the window is closed and the program must end with 0.
# Nothing here depends on the caller's locale: the window is found by the
# program's process id, and its caption is compared as UTF-8 bytes.
set -euo pipefail
program=$1
out=${2:-/tmp/ventrano-e2e}
mkdir -p "$out"
im=$(command -v convert-im6.q16 || command -v convert)

source "$(dirname "$0")/../../tools/xvfb.sh"
source "$(dirname "$0")/common.sh"
start_xvfb "$out" 1024x768
start_program "$out/program.log" "$program"
sleep 1

pixel() { "$im" "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
expect() { # image x y r,g,b what
  local got; got=$(pixel "$1" "$2" "$3")
  if [ "$got" != "$4" ]; then bad "$5 at ($2,$3): $got, want $4"; else ok "$5"; fi
}
# Pixels of a crop WxH+X+Y that are dark (text on the picture) or white
# (text on the title bar).
dark() { "$im" "$1" -crop "$2" +repage -threshold 50% -negate -format '%[fx:int(mean*w*h)]' info:; }
white() { "$im" "$1" -crop "$2" +repage -threshold 99% -format '%[fx:int(mean*w*h)]' info:; }

# The caption, byte for byte: the project's name ("Untitled" in the
# language of the window), then the program's title, the same in every
# language.
bytes() { od -An -tx1 | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }
caption() {
  local raw; raw=$(xprop -id "$win" -notype -f _NET_WM_NAME 8x ' $0+\n' _NET_WM_NAME | sed 's/^_NET_WM_NAME//; s/,/ /g')
  # shellcheck disable=SC2086
  printf '%02x ' $raw | sed 's/ $//'
}
check_caption() { # what, untitled in its language
  local got want; got=$(caption)
  want=$(printf '%s' "$2 – Hőcserélő méretezés" | bytes)
  if [ "$got" = "$want" ]; then ok "caption $1"; else bad "caption $1: $got, want $want"; fi
}

main=$out/main.png
import -window "$win" "$main"
size=$("$im" "$main" -format '%wx%h' info:)
[ "$size" = "701x571" ] && ok "window 701x571" || bad "window size $size"
check_caption "at start" Untitled
expect "$main" 600 12 0,0,128 "navy title bar"
expect "$main" 50 384 255,0,0 "arrow 3 red"
expect "$main" 640 122 0,0,255 "arrow 2 blue"
expect "$main" 300 488 128,128,128 "grid line"
expect "$main" 150 530 128,128,128 "grid column"
# The heat-duty line: dark text pixels inside the rectangle of QLabel, as
# wide as "Total heat transfer=46.37 kW" in the condensed bold face. Without
# that face the font engine takes the regular-width one: about 216 pixels.
n=$(dark "$main" 697x17+0+471)
if [ "$n" -gt 100 ]; then ok "heat-duty text ($n dark pixels)"; else bad "no heat-duty text ($n)"; fi
w=$("$im" "$main" -crop 697x17+0+471 +repage -threshold 50% -trim -format '%w' info:)
if [ "$w" -ge 191 ] && [ "$w" -le 197 ]; then ok "bold heat-duty text $w pixels wide"
else bad "bold heat-duty text $w pixels wide, want 194 +- 3 (is \"DejaVu Sans Condensed\" Bold installed?)"; fi
# The English title fits its rectangle: nothing at its right end.
n=$(white "$main" 20x10+680+4)
[ "$n" -eq 0 ] && ok "English title centred" || bad "white at the title's right end in English ($n)"

# "RUS" through the real list: a click drops it down, Down and Return choose.
# The dropped-down list is a second window of the program.
windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
wait_windows() { for _ in $(seq 100); do [ "$(windows)" = "$1" ] && return 0; sleep 0.05; done; return 1; }
xdotool mousemove --window "$win" 68 10 click 1
wait_windows 2 || bad "the language list did not drop down"
xdotool key Down Return
wait_windows 1 || bad "the language list did not close"
sleep 0.5
rus=$out/rus.png
import -window "$win" "$rus"
check_caption "in RUS" "Без имени"
# The Russian title is wider than its rectangle (240..700): it reaches both
# ends, and under the check box (112..272, caption ending left of 240) only
# the check box's navy shows.
n=$(white "$rus" 20x10+680+4)
[ "$n" -gt 0 ] && ok "Russian title reaches the right end" || bad "no Russian title at the right end"
n=$(white "$rus" 28x10+273+4)
[ "$n" -gt 0 ] && ok "Russian title right of the check box" || bad "no title right of the check box"
colours=$("$im" "$rus" -crop 33x17+240+4 +repage -format '%k' info:)
if [ "$colours" = 1 ] && [ "$(pixel "$rus" 250 10)" = "0,0,128" ]; then ok "check box covers the title's start"
else bad "title shows through the check box (x 240..272)"; fi
# The column heading "кожухная сторона" is wider than "Shell side".
en_w=$("$im" "$main" -crop 140x13+1+489 +repage -threshold 50% -trim -format '%w' info:)
ru_w=$("$im" "$rus" -crop 140x13+1+489 +repage -threshold 50% -trim -format '%w' info:)
[ "$ru_w" -gt $((en_w + 20)) ] && ok "Russian column heading ($en_w -> $ru_w pixels)" \
  || bad "column heading did not change to Russian ($en_w -> $ru_w pixels)"

# Closing the main window as a window manager's close button does ends the
# program with exit code 0; in the sanitizer build that also means nothing
# leaked and nothing was reported.
close_and_expect_zero "$out/program.log"
exit $fail
