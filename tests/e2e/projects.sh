#!/usr/bin/env bash
# Projects in the real program under Xvfb. A field changed is kept for
# recovery within two seconds; the program killed with SIGKILL and started
# again offers it, Restore (the offer's default, Return) brings the value
# back as an unsaved change. Then `Ventrano FILE` opens a project, and a
# clean close of it ends with 0 and leaves no recovery file. Windows are found
# by the program's process id, the caption compared as UTF-8 bytes.
set -euo pipefail
program=$1
out=${2:-/tmp/ventrano-e2e-projects}
rm -rf "$out"
mkdir -p "$out"
im=$(command -v convert-im6.q16 || command -v convert)

source "$(dirname "$0")/../../tools/xvfb.sh"
source "$(dirname "$0")/common.sh"
start_xvfb "$out" 1024x768
state=$XDG_STATE_HOME/ventrano
kept() { find "$state" -maxdepth 1 -name 'recovery-*.ventrano' 2>/dev/null | head -n1; }

windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null || true; }
main_window() { # the one of the main window's size
  local id
  for id in $(windows); do
    xdotool getwindowgeometry "$id" | grep -q 'Geometry: 701x571' && { echo "$id"; return 0; }
  done
  return 1
}
# The jacket-side flow field (144,424, 65 x 19) inside its frame.
field() { import -window "$win" "$out/$1-window.png"; "$im" "$out/$1-window.png" -crop 61x15+146+426 +repage "$out/$1.png"; }
same() { [ "$("$im" "$out/$1.png" "$out/$2.png" -compose difference -composite -format '%[fx:maxima]' info:)" = 0 ]; }
bytes() { od -An -tx1 | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }
caption() {
  local raw; raw=$(xprop -id "$win" -notype -f _NET_WM_NAME 8x ' $0+\n' _NET_WM_NAME | sed 's/^_NET_WM_NAME//; s/,/ /g')
  # shellcheck disable=SC2086
  printf '%02x ' $raw | sed 's/ $//'
}
check_caption() { # what, the caption it should be
  local got want; got=$(caption); want=$(printf '%s' "$2" | bytes)
  if [ "$got" = "$want" ]; then ok "caption $1"; else bad "caption $1: $got, want $want"; fi
}

# ---- a change kept, the program killed
start_program "$out/first.log" "$program"
sleep 1
field start
xdotool windowfocus --sync "$win"
xdotool mousemove --window "$win" 175 433 click 1
xdotool key ctrl+a
xdotool type 3
xdotool key Tab
for _ in $(seq 30); do [ -n "$(kept)" ] && break; sleep 0.1; done
if [ -n "$(kept)" ]; then ok "the change kept for recovery ($(basename "$(kept)"))"; else bad "no recovery file 3 s after the change"; fi
grep -q '"jacket_flow": 3,' "$(kept)" && ok "the recovery file holds the new flow" || bad "the recovery file lacks the new flow"
field changed
same changed start && bad "the field did not change"
check_caption "with the change" "Untitled* – Hőcserélő méretezés"
kill -9 "$app"
wait "$app" 2>/dev/null || true
app=
[ -n "$(kept)" ] && ok "the recovery file outlives the killed program" || bad "the recovery file went with the program"

# ---- started again: the offer, Restore
start_program "$out/second.log" "$program"
for _ in $(seq 100); do [ "$(windows | wc -l)" -ge 2 ] && break; sleep 0.05; done
win=$(main_window) || { bad "no main window after the restart"; exit 1; }
offer=$(windows | grep -vx "$win" | head -n1)
if [ -n "$offer" ]; then ok "the next start offers the recovery"; else bad "no offer at the next start"; exit 1; fi
import -window "$offer" "$out/offer.png"
xdotool windowfocus --sync "$offer"
xdotool key Return
for _ in $(seq 100); do [ "$(windows | wc -l)" = 1 ] && break; sleep 0.05; done
[ "$(windows | wc -l)" = 1 ] && ok "Return restores (the offer closed)" || bad "the offer is still open"
sleep 0.5
field restored
if same restored changed; then ok "the restored window shows the changed flow"; else bad "the flow is not back"; fi
check_caption "after restoring (unsaved)" "Untitled* – Hőcserélő méretezés"
kill -9 "$app"
wait "$app" 2>/dev/null || true
app=

# ---- Ventrano FILE, with a state folder of its own (no offer)
export XDG_STATE_HOME=$out/state-file
state=$XDG_STATE_HOME/ventrano
cat >"$out/boiler.ventrano" <<'EOF'
{
  "format": "ventrano-project",
  "version": 1,
  "project": { "name": "Boiler house B" },
  "cases": [
    { "name": "one unit", "type": "VT/R-0", "series": 1, "parallel": 1,
      "jacket_flow": 3, "jacket_unit": "m3/h", "jacket_inlet": 80,
      "coil_flow": 1, "coil_unit": "m3/h", "coil_inlet": 20 }
  ]
}
EOF
start_program "$out/third.log" "$program" "$out/boiler.ventrano"
sleep 1
[ "$(windows | wc -l)" = 1 ] && ok "one window, no message" || bad "more than the main window: $(windows | wc -l)"
field opened
if same opened changed; then ok "Ventrano FILE shows the file's flow"; else bad "the file's flow is not shown"; fi
check_caption "of the opened file" "Boiler house B – Hőcserélő méretezés"
close_and_expect_zero "$out/third.log"
[ -z "$(kept)" ] && ok "no recovery file after a clean close" || bad "a recovery file is left: $(kept)"
exit $fail
