#!/usr/bin/env bash
# Tries the Debian package on a fresh Debian 12 root, as a user would, twice:
# first with nothing but its dependencies (apt-get --no-install-recommends),
# then as apt-get installs by default. Each time the program starts under
# Xvfb and its screen is saved as a PNG; apt-get remove, then a second
# install and apt-get purge, must leave none of its files. Given a program
# built from source, its screen under the same Xvfb is saved too and the
# number of differing pixels printed. Run as root; needs debootstrap and the
# network. The root is made when missing and should be a fresh one
# (debootstrap --variant=minbase bookworm ROOT):
#   tools/package-root.sh ROOT DEB [OUT_DIR [BUILT_PROGRAM]]
set -euo pipefail
root=$(realpath -m "$1")
deb=$(realpath "$2")
out=$(realpath -m "${3:-.}")
built=${4:+$(realpath "$4")}
name=$(basename "$deb")
mkdir -p "$out"
im=$(command -v convert-im6.q16 || command -v convert)
cmp=$(command -v compare-im6.q16 || command -v compare)

[ -d "$root/usr" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
mountpoint -q "$root/sys" || mount -t sysfs sysfs "$root/sys"
mountpoint -q "$root/dev" || mount --bind /dev "$root/dev"
trap 'umount "$root/dev" "$root/sys" "$root/proc" 2>/dev/null || true' EXIT
# No locale, no terminal: the environment of a fresh minimal system.
in_root() { chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
# Every file and folder of the system, less the kernel's, apt's and dpkg's
# own records, logs and the scratch folders.
snapshot() {
  in_root find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /run \
    -o -path /var/cache -o -path /var/lib/apt -o -path /var/log -o -path /root -o -path /var/lib/dpkg \) -prune \
    -o -print | sort
}

fail=0
ok() { echo "ok   $1"; }
bad() { echo "FAIL $1"; fail=1; }

# The program for eight seconds on a 1024x768 Xvfb whose screen is a file;
# its messages in BASE.log, the screen in BASE.png. RUN is in_root, or a
# clean environment here.
screen() { # RUN BASE PROGRAM SCRATCH
  local run=$1 base=$2 program=$3 tmp=$4
  rm -rf "$tmp/fb" "$tmp/xdg" && mkdir -p "$tmp/fb" && mkdir -m 700 "$tmp/xdg"
  $run env XDG_RUNTIME_DIR="${tmp#"$root"}/xdg" xvfb-run -a -s "-screen 0 1024x768x24 -nocursor -fbdir ${tmp#"$root"}/fb" \
    sh -c "$program 2>${tmp#"$root"}/program.log & p=\$!; sleep 8; cp ${tmp#"$root"}/fb/Xvfb_screen0 ${tmp#"$root"}/fb/shot.xwd; kill \$p; wait \$p" \
    2>/dev/null || true
  cp "$tmp/program.log" "$base.log"
  "$im" "xwd:$tmp/fb/shot.xwd" "$base.png"
}

# Installs the package (options before the file), or fails the run.
install_deb() {
  in_root apt-get install -y "$@" "/tmp/$name" >"$out/install.log" 2>&1 \
    || { cat "$out/install.log"; bad "apt-get install $* ./$name"; exit 1; }
  ok "apt-get install $* ./$name: $(grep -Eo '[0-9]+ newly installed' "$out/install.log" || echo '?')"
}
files_left() {
  local left=""
  while read -r f; do [ -e "$root$f" ] && [ ! -d "$root$f" ] && left="$left $f"; done <"$root/tmp/files"
  echo "$left"
}

in_root apt-get update -qq
snapshot >"$out/fresh.list"
cp "$deb" "$root/tmp/"
xvfb=(xvfb xauth)   # only for the test, with nothing they recommend

for round in dependencies default; do
  echo "-- $round"
  if [ $round = dependencies ]; then install_deb --no-install-recommends; else install_deb; fi
  in_root dpkg -L ventrano >"$root/tmp/files"
  # The faces fontconfig offers beside the ones the program loads itself:
  # the same set here and in the build machine gives the same fallbacks.
  fonts=$(diff <(in_root fc-list : file | sort) <(fc-list : file | sort) || true)
  [ -z "$fonts" ] && ok "the same $(fc-list : file | wc -l) system faces as this machine" \
    || echo "note faces differ from this machine's: $fonts"
  in_root apt-get install -y --no-install-recommends "${xvfb[@]}" >/dev/null 2>&1 || bad "installing xvfb"
  screen in_root "$out/package-$round" Ventrano "$root/tmp"
  [ -s "$out/package-$round.png" ] && ok "screen saved: $out/package-$round.png" || bad "no screen"
  [ -s "$out/package-$round.log" ] && bad "program wrote: $(cat "$out/package-$round.log")" \
    || ok "program started without a message"
  in_root apt-get purge -y "${xvfb[@]}" >/dev/null 2>&1
  in_root apt-get remove -y ventrano >/dev/null 2>&1 && ok "apt-get remove ventrano" || bad "remove"
  left=$(files_left)
  [ -z "$left" ] && ok "no file of the package left after remove" || bad "left after remove:$left"
  [ $round = default ] && break
  # Back to the fresh system for the default install.
  in_root apt-get autoremove --purge -y >/dev/null 2>&1
  snapshot >"$out/autoremoved.list"
  echo "-- left by the dependencies' own scripts after autoremove:"
  comm -13 "$out/fresh.list" "$out/autoremoved.list" | sed 's/^/     /'
done

# Installed again and purged: the system is as it was before, and the
# install added the package's own files and folders and nothing else.
snapshot >"$out/removed.list"
install_deb
snapshot >"$out/installed.list"
in_root apt-get purge -y ventrano >/dev/null 2>&1 && ok "apt-get purge ventrano" || bad "purge"
in_root dpkg-query -W -f='${db:Status-Abbrev}' ventrano 2>/dev/null | grep -q '^.[ic]' && bad "still known to dpkg" \
  || ok "unknown to dpkg after purge"
added=$(comm -13 "$out/removed.list" "$out/installed.list")
extra=$(comm -23 <(echo "$added") <(sort "$root/tmp/files"))
ok "the install added its $(comm -12 <(echo "$added") <(sort "$root/tmp/files") | wc -l) files and folders"
# Caches that other packages' triggers keep (the icon theme's, say) may
# follow; purging must take them back (checked next).
[ -z "$extra" ] || echo "note made by triggers along with them: $extra"
snapshot >"$out/purged.list"
changed=$(diff "$out/removed.list" "$out/purged.list" || true)
[ -z "$changed" ] && ok "after purge the system is as before the install" || bad "changed by install and purge: $changed"

if [ -n "$built" ]; then
  tmp=$(mktemp -d)
  screen "env -i HOME=$HOME PATH=/usr/sbin:/usr/bin:/sbin:/bin" "$out/source" "$built" "$tmp"
  rm -rf "$tmp"
  diff=$("$cmp" -metric AE "$out/source.png" "$out/package-default.png" null: 2>&1 || true)
  echo "-- the build from source beside the package: $diff pixels differ"
  [ "$diff" = 0 ] && ok "same screen as the build from source" || bad "screen differs from the build from source"
fi
exit $fail
