#!/usr/bin/env bash
# Installs the build into a fresh temporary prefix and checks what a desktop
# gets: the program and its manual page, a valid menu entry under the
# window's caption that starts it and names the icon, and the icon itself.
set -euo pipefail
build=$1
cmake=${2:-cmake}
prefix=$(mktemp -d "${TMPDIR:-/tmp}/ventrano-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
im=$(command -v convert-im6.q16 || command -v convert)

fail=0
ok() { echo "ok   $1"; }
bad() { echo "FAIL $1"; fail=1; }

"$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; rm -f "$prefix.log"; exit 1; }
rm -f "$prefix.log"

program=$prefix/bin/Ventrano
entry=$prefix/share/applications/ventrano.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/ventrano.svg
for f in "$program" "$entry" "$icon"; do
  [ -s "$f" ] && ok "installed ${f#"$prefix"/}" || bad "missing ${f#"$prefix"/}"
done
[ $fail = 0 ] || exit 1
[ -x "$program" ] && ok "program is executable" || bad "program is not executable"
# Each installed program has its manual page.
for p in "$prefix"/bin/*; do
  page=$prefix/share/man/man1/$(basename "$p").1.gz
  gzip -t "$page" 2>/dev/null && ok "manual page ${page#"$prefix"/}" || bad "no manual page for bin/$(basename "$p")"
done

# The installed program runs on its own (no build-tree paths): without a
# display it says so and ends with 2.
set +e
msg=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
rc=$?
set -e
if [ $rc = 2 ] && [[ $msg == *"needs a graphical display"* ]]; then ok "installed program starts"
else bad "installed program: exit $rc, '$msg'"; fi

# The command line program: installed beside it, without Qt, without a
# display, rating the main window's default case as the window does.
rate=$prefix/bin/ventrano-rate
if [ -x "$rate" ]; then ok "installed bin/ventrano-rate"; else bad "missing bin/ventrano-rate"; fi
if ldd "$rate" 2>/dev/null | grep -qi 'libQt'; then bad "ventrano-rate links Qt: $(ldd "$rate" | grep -i libqt | head -1)"
else ok "ventrano-rate needs no Qt"; fi
set +e
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$rate" --help 2>&1)
rc=$?
rated=$(printf 'type,series,parallel,jacket_flow,coil_flow,jacket_unit,coil_unit,jacket_inlet,coil_inlet\nVT/R-0,1,1,7,1,m3/h,m3/h,80,20\n' |
        env -u DISPLAY -u WAYLAND_DISPLAY "$rate" rate 2>&1)
rrc=$?
set -e
[ $rc = 0 ] && [[ $help == "Usage: ventrano-rate"* ]] && ok "ventrano-rate --help without a display" \
  || bad "ventrano-rate --help: exit $rc, '${help:0:80}'"
[ $rrc = 0 ] && [[ $(sed -n 2p <<<"$rated") == VT/R-0,1,1,7,1,m3/h,m3/h,80,20,46.37087171120363,* ]] \
  && ok "ventrano-rate rates the default case" || bad "ventrano-rate rate: exit $rrc, '${rated:0:300}'"

# desktop-file-validate prints errors, warnings and hints; none is accepted.
if out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ]; then ok "desktop-file-validate"
else bad "desktop-file-validate: $out"; fi

key() { sed -n "s/^$1=//p" "$entry"; }
want_name=$(printf '%s' 'Hőcserélő méretezés' | od -An -tx1)
[ "$(key Name | tr -d '\n' | od -An -tx1)" = "$want_name" ] && ok "Name is the caption" || bad "Name: $(key Name)"
comment=$(key Comment)
if [ -n "$comment" ] && LC_ALL=C grep -q '^[ -~]*$' <<<"$comment"; then ok "English comment: $comment"
else bad "Comment: '$comment'"; fi
[ "$(key Exec)" = "Ventrano" ] && [ -x "$prefix/bin/$(key Exec)" ] && ok "Exec names the installed program" \
  || bad "Exec: $(key Exec)"
[ "$(key Icon)" = "$(basename "$icon" .svg)" ] && ok "Icon names the installed icon" || bad "Icon: $(key Icon)"
[[ ";$(key Categories)" == *";Science;"* ]] && ok "Categories: $(key Categories)" || bad "Categories: $(key Categories)"

# The icon renders: the schematic's background colour at the edge, black
# lines in the middle, at the sizes a menu asks for.
for size in 48 256; do
  png=$prefix/icon-$size.png
  if ! rsvg-convert -w $size -h $size "$icon" -o "$png"; then bad "icon does not render at $size"; continue; fi
  got=$("$im" "$png" -format '%w %h' info:)
  [ "$got" = "$size $size" ] || bad "icon at $size renders $got"
  bg=$("$im" "$png" -format "%[fx:int(255*p{$((size / 16)),$((size / 2))}.r)],%[fx:int(255*p{$((size / 16)),$((size / 2))}.g)],%[fx:int(255*p{$((size / 16)),$((size / 2))}.b)]" info:)
  [ "$bg" = "152,255,253" ] && ok "icon background at $size" || bad "icon background at $size: $bg"
  dark=$("$im" "$png" -alpha off -threshold 50% -negate -format '%[fx:mean]' info:)
  awk -v d="$dark" 'BEGIN { exit !(d > 0.08 && d < 0.4) }' && ok "icon lines at $size ($dark dark)" \
    || bad "icon at $size: dark share $dark"
done
exit $fail
