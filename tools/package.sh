#!/usr/bin/env bash
# Installs what is missing, builds, packs the Debian package
# (ventrano_<version>_amd64.deb in the build tree's folder "package") and
# checks it: its contents, then lintian, which must report no errors.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
PACKAGES="$PACKAGES lintian"
build=$(prepare_build)
cmake --build "$build" -j2
rm -rf "$build/package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >"$build/package.log" 2>&1 \
  || { cat "$build/package.log"; exit 1; }
deb=$(ls "$build"/package/ventrano_*.deb)
bash tests/package/check_package.sh "$deb"
# Errors fail; warnings and notes are shown.
lintian --fail-on error --display-info "$deb"
echo "$deb"
