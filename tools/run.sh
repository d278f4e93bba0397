#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
build=$(prepare_build)
cmake --build "$build" -j2 --target Ventrano
exec "$build/Ventrano"
