#!/usr/bin/env bash
# Checks a Debian package of the program: its control data (name, version,
# architecture, the dependencies dpkg-shlibdeps found and the font packages),
# its files (each program with its manual page, the menu entry, the icon, the
# copyright, nothing outside /usr, owned by root, no writable modes), the
# project file type (its definition read as the system will, its icon, the
# menu entry opening it, no cache packed), the
# copyright file (machine-readable, everything under the licence in LICENSE,
# its text in full) and the packaged program itself (stripped, no build-tree
# search path, starts).
#   check_package.sh DEB
#   check_package.sh --build BUILD_DIR [CPACK]   (packs the build first)
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/ventrano-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ "${1:-}" = --build ]; then
  build=$(cd "$2" && pwd)
  cpack=${3:-cpack}
  if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"; exit 1
  fi
  deb=$(ls "$work"/out/*.deb)
else
  deb=$1
fi

fail=0
ok() { echo "ok   $1"; }
bad() { echo "FAIL $1"; fail=1; }

field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
[ "$(basename "$deb")" = "ventrano_${version}_amd64.deb" ] && ok "file name $(basename "$deb")" \
  || bad "file name $(basename "$deb") for version $version"
[ "$(field Package)" = ventrano ] && ok "Package: ventrano" || bad "Package: $(field Package)"
[ "$(field Architecture)" = amd64 ] && ok "Architecture: amd64" || bad "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] && ok "Maintainer: $(field Maintainer)" || bad "no Maintainer"
desc=$(field Description)
[ "$(wc -l <<<"$desc")" -gt 2 ] && ok "description with an extended text" || bad "Description: $desc"

# Dependencies: split at commas, alternatives and versions kept.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ *$//')
has_dep() { grep -Eq "^$1( \(|$)" <<<"$depends"; }
for p in fonts-wine fonts-dejavu-extra libqt6gui6 libqt6widgets6 libqt6printsupport6; do
  has_dep "$p" && ok "depends on $p" || bad "no dependency on $p: $(field Depends)"
done
# Versioned C library dependency: dpkg-shlibdeps read the binaries.
grep -Eq '^libc6 \(>= [0-9.]+\)$' <<<"$depends" && ok "libc6 from dpkg-shlibdeps" \
  || bad "no versioned libc6: $(field Depends)"

# The files.
dpkg-deb -c "$deb" >"$work/list"
path_of() { awk '{ print $6 }' "$work/list"; }
mode_of() { awk -v p="./$1" '$6 == p { print $1 }' "$work/list"; }
for f in usr/bin/Ventrano usr/share/applications/ventrano.desktop \
         usr/share/icons/hicolor/scalable/apps/ventrano.svg usr/share/man/man1/Ventrano.1.gz \
         usr/share/doc/ventrano/copyright usr/share/doc/ventrano/changelog.gz; do
  [ -n "$(mode_of "$f")" ] && ok "contains $f" || bad "missing $f"
done
outside=$(path_of | grep -Ev '^\./(usr(/.*)?)?$' || true)
[ -z "$outside" ] && ok "everything under /usr" || bad "outside /usr: $outside"
owners=$(awk '$2 != "root/root"' "$work/list")
[ -z "$owners" ] && ok "owned by root" || bad "not owned by root: $owners"
modes=$(awk '($1 ~ /^d/ && $1 != "drwxr-xr-x") || ($1 ~ /^-/ && $1 != "-rw-r--r--" && $1 != "-rwxr-xr-x")' "$work/list")
[ -z "$modes" ] && ok "modes 755 and 644" || bad "modes: $modes"

dpkg-deb -x "$deb" "$work/root"

# The copyright file in Debian's machine-readable format: every file under
# the MIT licence (Debian's name for it is Expat), held as LICENSE holds it,
# and the licence's text word for word.
copyright=$work/root/usr/share/doc/ventrano/copyright
[ "$(head -n1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] \
  && ok "copyright file in the machine-readable format" || bad "copyright: $(head -n1 "$copyright")"
files_licence=$(awk '/^Files: \*$/ { on = 1 } /^$/ { on = 0 } on && /^License:/' "$copyright")
[ "$files_licence" = "License: Expat" ] && ok "every file under the Expat licence" \
  || bad "copyright, Files: * has '$files_licence'"
holder=$(sed -n 's/^Copyright (c) //p' "$source_dir/LICENSE")
grep -qx "Copyright: $holder" "$copyright" && ok "copyright held by $holder" \
  || bad "copyright file does not name '$holder'"
# The text below a "License: Expat" line, its indent taken off and "." an
# empty line again.
licence_text=$(awk '/^License: Expat$/ { on = 1; next }
                    on && /^ / { sub(/^ /, ""); if ($0 == ".") $0 = ""; print; next }
                    { on = 0 }' "$copyright")
[ -n "$licence_text" ] && [ "$licence_text" = "$(sed -n '/^Permission/,$p' "$source_dir/LICENSE")" ] \
  && ok "the licence's text as in LICENSE" || bad "copyright file without the text of LICENSE"
programs=$(cd "$work/root/usr/bin" && ls)
for p in $programs; do
  [ "$(mode_of "usr/bin/$p")" = "-rwxr-xr-x" ] && ok "$p is executable" || bad "$p: mode $(mode_of "usr/bin/$p")"
  page=$work/root/usr/share/man/man1/$p.1.gz
  if [ -f "$page" ] && gzip -t "$page" && zcat "$page" | grep -A1 '^\.SH NAME' | grep -q "^$p "; then
    ok "manual page of $p"
  else
    bad "no manual page naming $p"
  fi
  elf=$(readelf -S -d "$work/root/usr/bin/$p")
  grep -q '\.debug_info' <<<"$elf" && bad "$p is not stripped" || ok "$p is stripped"
  grep -Eq 'R(UN)?PATH' <<<"$elf" && bad "$p has a search path: $(grep -E 'R(UN)?PATH' <<<"$elf")" \
    || ok "$p has no search path"
done
pages=$(cd "$work/root/usr/share/man/man1" && ls | sed 's/\.1\.gz$//')
for m in $pages; do
  grep -qx "$m" <<<"$programs" && ok "page $m.1 has its program" || bad "page $m.1 without a program"
done
# Compressed without a name or time stamp (reproducible, as Debian wants).
stamped=""
for gz in "$work"/root/usr/share/man/man1/*.gz "$work"/root/usr/share/doc/ventrano/*.gz; do
  [ -f "$gz" ] && [ "$(od -An -tu4 -j4 -N4 "$gz" | tr -d ' ')" != 0 ] && stamped="$stamped ${gz#"$work/root"}"
done
[ -z "$stamped" ] && ok "compressed without time stamps" || bad "time stamps in$stamped"

# The packaged program, without a display, says so and ends with 2.
set +e
msg=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/Ventrano" 2>&1)
rc=$?
set -e
if [ $rc = 2 ] && [[ $msg == *"needs a graphical display"* ]]; then ok "packaged program starts"
else bad "packaged program: exit $rc, '$msg'"; fi

# The menu entry names the packaged program and icon, and opens a project.
entry=$work/root/usr/share/applications/ventrano.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$work/root/usr/bin/${exec_line%% *}" ] && ok "menu entry starts a packaged program" \
  || bad "menu entry: Exec=$exec_line"
[[ " $exec_line " == *" %f "* ]] && ok "menu entry takes a file" || bad "menu entry takes no file: Exec=$exec_line"
[[ ";$(sed -n 's/^MimeType=//p' "$entry")" == *";application/x-ventrano-project;"* ]] \
  && ok "menu entry opens projects" || bad "menu entry: MimeType=$(sed -n 's/^MimeType=//p' "$entry")"
[ -f "$work/root/usr/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$entry").svg" ] \
  && ok "menu entry names the packaged icon" || bad "menu entry: Icon=$(sed -n 's/^Icon=//p' "$entry")"

# The project file type: its definition and icon, and no cache beside them
# (the system's triggers build those; a packed cache would clash with
# them). update-mime-database reads the definition as the trigger will, and
# says nothing when it is sound; the type's glob, parent and icon land in the
# database it writes.
mime_xml=usr/share/mime/packages/ventrano.xml
type_icon=usr/share/icons/hicolor/scalable/mimetypes/application-x-ventrano-project.svg
for f in $mime_xml $type_icon; do
  [ -n "$(mode_of "$f")" ] && ok "contains $f" || bad "missing $f"
done
caches=$(path_of | grep -E '^\./usr/share/(mime/|applications/mimeinfo\.cache$|icons/.*\.cache$)' \
         | grep -Ev '^\./usr/share/mime/(packages/.*)?$' || true)
[ -z "$caches" ] && ok "no cache packed" || bad "caches packed: $caches"
if xmllint --noout "$work/root/$mime_xml" 2>"$work/xmllint.log"; then ok "type definition is well-formed XML"
else bad "type definition: $(cat "$work/xmllint.log")"; fi
cp -r "$work/root/usr/share/mime" "$work/mime"
out=$(XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>&1) && [ -z "$out" ] \
  && ok "update-mime-database reads the type quietly" || bad "update-mime-database: $out"
grep -q ':application/x-ventrano-project:\*\.ventrano$' "$work/mime/globs2" 2>/dev/null \
  && ok "*.ventrano is a project" || bad "no *.ventrano glob for the type"
grep -qx 'application/x-ventrano-project application/json' "$work/mime/subclasses" 2>/dev/null \
  && ok "a project is JSON" || bad "type is no sub-class of application/json"
icon_name=$(sed -n 's/^application\/x-ventrano-project://p' "$work/mime/icons" 2>/dev/null)
[ -f "$work/root/usr/share/icons/hicolor/scalable/mimetypes/$icon_name.svg" ] \
  && ok "type icon $icon_name is packed" || bad "type icon '$icon_name' is not packed"
exit $fail
