#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
build=$(prepare_build)
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
