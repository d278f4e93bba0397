# Debian packages the program, its tests and its benchmarks need.
PACKAGES="cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev fonts-wine xvfb xauth x11-utils imagemagick"
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
