# Shared by tools/run.sh, tools/test.sh and tools/fuzz.sh: the Debian
# packages the program, its tests, its benchmarks and its fuzz targets need
# (libclang-rt-dev: clang's sanitizer and libFuzzer libraries), and the
# configured build tree.
PACKAGES="cmake ninja-build g++ clang libclang-rt-dev dpkg-dev file qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev fonts-wine fonts-dejavu-extra xvfb xauth x11-utils xdotool imagemagick poppler-utils desktop-file-utils shared-mime-info libglib2.0-bin libxml2-utils librsvg2-bin python3"

install_packages() {
  local missing=""
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends $missing
  fi
}

# Installs what is missing and configures the build tree; prints its path.
# The compiler is the environment's CXX when set (CXX=clang++), also for a
# tree configured before with another one; otherwise CMake's default (g++).
prepare_build() {
  install_packages >&2
  local build=${BUILD_DIR:-build}
  local compiler=()
  if [ -n "${CXX:-}" ]; then compiler=(-DCMAKE_CXX_COMPILER="$CXX"); fi
  cmake -S . -B "$build" -G Ninja "${compiler[@]}" ${CMAKE_ARGS:-} >&2
  echo "$build"
}
