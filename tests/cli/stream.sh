#!/usr/bin/env bash
# ventrano-rate rate streams: a large input through a pipe in a few MiB of
# memory (an address-space limit far below the size of the input or the
# output), and each row answered before the next is sent.
# Usage: stream.sh PROGRAM [sanitized]   (sanitizers reserve address space:
# no limit then)
set -euo pipefail
program=$1
sanitized=${2:-}
rows=300000
fail=0
ok() { echo "ok   $1"; }
bad() { echo "FAIL $1"; fail=1; }

generate() {
  awk -v n="$rows" 'BEGIN {
    print "id,type,series,parallel,jacket_flow,coil_flow,jacket_unit,coil_unit,jacket_inlet,coil_inlet"
    split("VT/R-0 VT/R-1 VT/R-2 VT/R-3 VR/T-4", t, " ")
    for (i = 1; i <= n; i++)
      printf "%d,%s,%d,%d,%.3f,%.3f,%s,%s,%.2f,%.2f\n", i, t[i % 5 + 1], i % 7 + 1, i % 5 + 1,
             1 + (i * 37) % 149, 0.5 + (i * 11) % 30, (i % 2 ? "m3/h" : "l/min"), (i % 3 ? "m3/h" : "l/min"),
             80 + (i % 50), 10 + (i % 30)
  }'
}

# About 20 MB in, 55 MB out; 24 MiB of address space for the program.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ventrano-stream.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
limit=24576
[ -z "$sanitized" ] || limit=unlimited
counted=$(generate | { (ulimit -v $limit; exec "$program" rate) 2>"$tmp/err"; echo $? >"$tmp/status"; } |
          awk -F, 'NR > 1 && $NF != "" { e++ } END { print NR, e + 0 }') || true # the status is the program's
status=$(cat "$tmp/status")
[ -s "$tmp/err" ] && bad "standard error: $(head -c 300 "$tmp/err")"
read -r lines errors <<<"$counted"
[ "$lines" = $((rows + 1)) ] && [ "$status" = 0 ] \
  && ok "$rows rows in, $lines lines out, status 0, address space $limit KiB" \
  || bad "$rows rows in, $lines lines out, status $status"
[ "$errors" = 0 ] && ok "every row rated" || bad "$errors rows with an error"

# Long records, each with its long field in another column and too many
# fields: error rows, in no more memory than one of them needs.
counted=$(awk 'BEGIN {
    print "type,series,parallel,jacket_flow,coil_flow,jacket_unit,coil_unit,jacket_inlet,coil_inlet"
    long = "x"; while (length(long) < 400000) long = long long
    for (i = 1; i <= 100; i++) {
      commas = ""; for (k = 0; k < i; k++) commas = commas ","
      print "VT/R-0,1,1,7,1,m3/h,m3/h,80,20" commas long
    }
  }' | { (ulimit -v $limit; exec "$program" rate) 2>"$tmp/err"; echo $? >"$tmp/status"; } |
  awk -F, 'NR > 1 && $NF ~ /the header has 9"$/ { e++ } END { print NR, e + 0 }') || true
status=$(cat "$tmp/status")
read -r lines errors <<<"$counted"
[ "$lines" = 101 ] && [ "$errors" = 100 ] && [ "$status" = 1 ] \
  && ok "100 records of 400 kB, a long field in another column each: 100 error rows, status 1" \
  || bad "long records: $lines lines, $errors error rows, status $status, $(head -c 200 "$tmp/err")"

# Row by row through a pipe: the answer to a row comes before the next row
# is sent, and the end of the input ends the program with its status.
coproc RATE { "$program" rate; }
pid=$RATE_PID # bash forgets it once the program has ended
echo "type,series,parallel,jacket_flow,coil_flow,jacket_unit,coil_unit,jacket_inlet,coil_inlet" >&"${RATE[1]}"
if read -r -t 20 line <&"${RATE[0]}" && [[ $line == type,*,error ]]; then ok "header answered at once"
else bad "no header within 20 s: '${line:-}'"; fi
for row in "VT/R-0,1,1,7,1,m3/h,m3/h,80,20" "VR/T-4,2,3,20,10,m3/h,m3/h,90,10" "VT/R-0,1,1,0,1,m3/h,m3/h,80,20"; do
  echo "$row" >&"${RATE[1]}"
  if read -r -t 20 line <&"${RATE[0]}" && [[ $line == "$row",* ]]; then ok "answered before the next row: ${line:0:60}..."
  else bad "no answer to '$row' within 20 s: '${line:-}'"; fi
done
exec {RATE[1]}>&-
set +e
wait "$pid"
status=$?
set -e
[ "$status" = 1 ] && ok "status 1 after a row with an error" || bad "status $status"
exit $fail
