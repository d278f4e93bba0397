#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang in a build tree of their own and
# runs each for SECONDS (default 60) on a copy of its seed corpus, so that
# the committed corpus never grows by accident. A finding (a crash, a failed
# check, a leak, a run longer than 10 s) fails the script: the target's last
# words, the input escaped and in hex, and where its file is kept.
#   bash tools/fuzz.sh [SECONDS] [TARGET...]     e.g. bash tools/fuzz.sh 30 csv
# The build tree is FUZZ_BUILD_DIR (default build-fuzz), configured with
# CMAKE_ARGS as well where set; findings are kept in its fuzz-findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(csv project options numfield numedit)
build=${FUZZ_BUILD_DIR:-build-fuzz}

install_packages >&2
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVENTRANO_FUZZ=ON -DVENTRANO_TESTS=OFF \
      -DVENTRANO_BENCH=OFF ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

work=$(mktemp -d "${TMPDIR:-/tmp}/ventrano-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
findings="$PWD/$build/fuzz-findings"
failed=()

# The input of a finding, escaped (as Python writes bytes) and in hex.
show_input() {
  local file=$1 size
  size=$(stat -c %s "$file")
  echo "---- input ($size bytes): $file"
  python3 -c 'import sys; d=open(sys.argv[1],"rb").read(); print(repr(d[:4000]) + (" ..." if len(d) > 4000 else ""))' "$file"
  od -A d -t x1z -v "$file" | head -n 64
}

for t in "${targets[@]}"; do
  dir="$work/$t"
  mkdir -p "$dir/corpus" "$dir/artifacts" "$dir/tmp"
  cp fuzz/corpus/"$t"/* "$dir/corpus/" 2>/dev/null || true
  args=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -artifact_prefix="$dir/artifacts/")
  [ -f "fuzz/$t.dict" ] && args+=(-dict="fuzz/$t.dict")
  env=(TMPDIR="$dir/tmp")
  # The toolkit keeps its caches to the end: no leak check for the widget.
  [ "$t" = numedit ] && env+=(QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0)
  status=0
  env "${env[@]}" "$build/fuzz/fuzz_$t" "${args[@]}" "$dir/corpus" >"$dir/log" 2>&1 || status=$?
  artifacts=("$dir"/artifacts/*)
  [ -e "${artifacts[0]}" ] || artifacts=()
  if [ "$status" -ne 0 ] || [ ${#artifacts[@]} -gt 0 ]; then
    failed+=("$t")
    echo "== fuzz_$t: FINDING (exit status $status)"
    grep -v '^"' "$dir/log" | tail -n 60
    mkdir -p "$findings/$t"
    for a in "${artifacts[@]}"; do
      cp "$a" "$findings/$t/"
      show_input "$findings/$t/$(basename "$a")"
    done
    continue
  fi
  final_stat() { sed -n "s/^stat::$1: *//p" "$dir/log"; }
  edges=$(grep -o 'DONE *cov: [0-9]*' "$dir/log" | grep -o '[0-9]*$' || echo '?')
  printf 'fuzz_%-9s %s s: %s runs, %s/s, %s edges covered, slowest run %s s, %s MB at most, no finding\n' \
         "$t" "$seconds" "$(final_stat number_of_executed_units)" "$(final_stat average_exec_per_sec)" "$edges" \
         "$(final_stat slowest_unit_time_sec)" "$(final_stat peak_rss_mb)"
  unset -f final_stat
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs kept in $findings)" >&2
  exit 1
fi
