#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_packages
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja ${CMAKE_ARGS:-}
cmake --build "$build" -j2 --target Ventrano
exec "$build/Ventrano"
