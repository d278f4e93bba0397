#!/usr/bin/env bash
# Installs the build into a fresh temporary prefix and checks what a desktop
# gets: the program and its manual page, a valid menu entry under the
# window's caption that starts it and names the icon, and the icon itself;
# the project file type, known by its name and by its content, opened by the
# program, with its own icon.
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
mime_xml=$prefix/share/mime/packages/ventrano.xml
type_icon=$prefix/share/icons/hicolor/scalable/mimetypes/application-x-ventrano-project.svg
for f in "$program" "$entry" "$icon" "$mime_xml" "$type_icon"; do
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
# The program, with the one file the desktop hands it.
[ "$(key Exec)" = "Ventrano %f" ] && [ -x "$prefix/bin/$(key Exec | cut -d' ' -f1)" ] \
  && ok "Exec names the installed program and takes a file" || bad "Exec: $(key Exec)"
[[ ";$(key MimeType)" == *";application/x-ventrano-project;"* ]] && ok "MimeType: $(key MimeType)" \
  || bad "MimeType: $(key MimeType)"
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

# The project file type. The install itself rebuilt the prefix's type
# database and menu cache; glib's gio answers from them as a desktop's file
# manager does, without a session, in a bare environment (no home folder, no
# locale) that sees this prefix alone (so that a system with the package
# installed cannot answer for it), then with the system's types beside it
# (none of which may claim the files).
[ -s "$prefix/share/mime/mime.cache" ] && ok "install rebuilt the type database" \
  || bad "no share/mime/mime.cache after the install"
grep -qx 'application/x-ventrano-project=ventrano.desktop;' "$prefix/share/applications/mimeinfo.cache" 2>/dev/null \
  && ok "install rebuilt the menu cache" || bad "share/applications/mimeinfo.cache does not name ventrano.desktop"
home=$prefix/home
mkdir -p "$home/data" "$home/config" "$home/etc" "$prefix/files"
data_dirs=$prefix/share
desktop() {
  env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
      XDG_CONFIG_DIRS="$home/etc" XDG_DATA_DIRS="$data_dirs" GIO_USE_VFS=local "$@"
}
attribute() { desktop gio info -a "standard::$1" "$2" 2>&1 | sed -n "s/^ *standard::$1: //p"; }
# Its name in each interface language, and its icon renders.
for lang in hu ru sk de ro it; do
  grep -q "<comment xml:lang=\"$lang\">..*</comment>" "$mime_xml" && ok "type named in $lang" || bad "type has no $lang name"
done
rsvg-convert -w 48 -h 48 "$type_icon" -o "$prefix/type-icon.png" && ok "type icon renders" || bad "type icon does not render"
# Name|content|expected type. The content is the program's own writing, the
# same written by other tools (byte order mark, CRLF, tabs, another member
# first, blanks around the colon or none), and JSON that is no project: the
# name as another member's value, or another format whose name begins alike.
own='{\n  "format": "ventrano-project",\n  "version": 1\n}\n'
while IFS='|' read -r name content want; do
  printf "$content" >"$prefix/files/$name"
  for data_dirs in "$prefix/share" "$prefix/share:/usr/share"; do
    seen=prefix; [ "$data_dirs" = "$prefix/share" ] || seen="prefix and system"
    got=$(attribute content-type "$prefix/files/$name")
    if [ "$want" = project ]; then
      [ "$got" = application/x-ventrano-project ] && ok "'$name' is a project ($seen)" \
        || bad "'$name' is '$got', not a project ($seen)"
    else
      [ -n "$got" ] && [ "$got" != application/x-ventrano-project ] && ok "'$name' is no project: $got ($seen)" \
        || bad "'$name' taken for '$got' ($seen)"
    fi
  done
  data_dirs=$prefix/share
done <<EOF
x.ventrano|$own|project
Hőcserélő projekt|$own|project
exported|\xef\xbb\xbf{\r\n\t"version": 1,\r\n\t"format" :  "ventrano-project"\r\n}\r\n|project
minified|{"format":"ventrano-project","version":1}|project
settings|{\n  "name": "ventrano-project",\n  "version": 1\n}\n|other
report|{\n  "format": "ventrano-project-report",\n  "version": 1\n}\n|other
EOF
# A project shows the type's own icon and opens in the program.
icons=$(attribute icon "$prefix/files/x.ventrano")
[ "${icons%%,*}" = application-x-ventrano-project ] && ok "project icon: ${icons%%,*}" || bad "project icon: '$icons'"
default=$(desktop gio mime application/x-ventrano-project 2>&1 | sed -n 's/^Default application.*: //p')
[ "$default" = ventrano.desktop ] && ok "projects open in ventrano.desktop" || bad "default for projects: '$default'"
exit $fail
