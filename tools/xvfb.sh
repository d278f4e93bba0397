# Sourced by the scripts that run the real program on a virtual screen
# (end-to-end tests, screenshots, benchmarks). Defines:
#   start_xvfb DIR [WxH]   starts Xvfb on a display it picks itself, exports
#                          DISPLAY; the server dies with the script. The
#                          programs started after it get a home and XDG
#                          folders of their own under DIR/home (settings,
#                          recovery files): nothing of the user's is read or
#                          touched, and runs side by side never meet
#   start_program LOG CMD… starts the program, sets $app (its pid) and $win
#                          (its main window), or says why not and returns 1
# The caller may set $app to empty once it has ended the program itself.
xvfb=
app=
_xvfb_cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
}
trap _xvfb_cleanup EXIT

start_xvfb() {
  local dir=$1 size=${2:-1280x1024}
  rm -f "$dir/display"
  # -displayfd: the server picks a free display and writes its number, so
  # runs side by side never race for one.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
  [ -s "$dir/display" ] || { echo "Xvfb did not start"; cat "$dir/xvfb.log"; return 1; }
  export DISPLAY=:$(head -n1 "$dir/display")
  mkdir -p "$dir/home"
  export HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" XDG_STATE_HOME="$dir/home/.local/state" \
    XDG_DATA_HOME="$dir/home/.local/share" XDG_CACHE_HOME="$dir/home/.cache"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

start_program() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  app=$!
  win=
  for _ in $(seq 100); do
    # By process id: no caption to match, whatever the caller's locale.
    win=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && return 0
    kill -0 "$app" 2>/dev/null || { echo "program ended early"; cat "$log"; return 1; }
    sleep 0.1
  done
  echo "no main window"
  cat "$log"
  return 1
}
