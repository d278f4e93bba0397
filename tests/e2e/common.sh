# Sourced by the end-to-end tests after tools/xvfb.sh. Defines:
#   ok TEXT / bad TEXT       a check passed / failed (bad sets $fail to 1)
#   close_and_expect_zero    closes the main window $win as a window
#                            manager's close button does and checks that the
#                            program then ends with exit code 0 (in the
#                            sanitizer build: nothing leaked, nothing reported)
fail=0
ok() { echo "ok   $1"; }
bad() { echo "FAIL $1"; fail=1; }

close_and_expect_zero() {
  local log=$1 rc
  python3 "$(dirname "${BASH_SOURCE[0]}")/close_window.py" "$win" || bad "could not ask the main window to close"
  _ended() { local s; s=$(cut -d' ' -f3 "/proc/$app/stat" 2>/dev/null) || return 0; [ "$s" = Z ]; }
  for _ in $(seq 600); do _ended && break; sleep 0.1; done
  _ended || { bad "the program still runs 60 s after its main window was closed"; return 1; }
  set +e
  wait "$app"
  rc=$?
  set -e
  app=
  if [ "$rc" = 0 ]; then ok "closing the main window ends the program with 0"
  else bad "the program ended with $rc after its main window was closed"; tail -n 40 "$log"; fi
}
