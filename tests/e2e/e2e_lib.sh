# Shared steps of the end-to-end scripts (sourced): the tools they need, a scratch folder with
# Data/ that is cleaned up at exit, a virtual X display of its own, waiting, and the tip of the
# day. A script sets `screenshot` before it sources this file.

# Skips the test (status 77) when one of the named tools is missing.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is not installed (scripts/setup installs it)"
      exit 77
    fi
  done
}

work=$(mktemp -d)
pids=()
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  [ -n "${DISPLAY:-}" ] && import -window root "${screenshot%.png}-failed.png" 2>/dev/null &&
    echo "screenshot of the failure in ${screenshot%.png}-failed.png"
  [ -f "$work/report" ] && { echo "--- what the window showed:"; cat "$work/report"; }
  echo "--- program output:"
  cat "$work/program.log" 2>/dev/null || true
  exit 1
}

# $work/Data: the dictionary in DATA_DIR linked, the custom database copied; settings, data
# and run folders of the program's own, and what the window shows reported to $work/report.
make_data_folder() {
  local f
  mkdir -p "$work/Data" "$work/config" "$work/data" "$work/run"
  chmod 700 "$work/run"
  for f in 1001L.dat 1001W.dat 1001T.dat 1001A.dat tips.dat verbarium.bmp; do
    ln -s "$1/$f" "$work/Data/$f"
  done
  cp "$1/1001M.idx" "$1/1001M.dat" "$work/Data/"
  settings="$work/config/Mirewood Software/Verbarium 1.4.conf"
  export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
  export XDG_CACHE_HOME=$work/cache
  export VERBARIUM_VIEW_REPORT=$work/report
}

# An Xvfb on a free display number, with Qt on the X11 platform. -noreset: the server otherwise
# resets when its last client leaves, and a program started again at once (as after Ctrl+Q)
# could meet the reset and find no display.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
  pids+=($!)
  wait_until test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
}

wait_until() {  # a command, retried for up to ten seconds (--long: twenty)
  local tries=100
  [ "$1" = --long ] && { tries=200; shift; }
  for _ in $(seq 1 "$tries"); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

visible_window() {
  xdotool search --onlyvisible --name '^Verbarium$' 2>/dev/null | head -1
}

program_ended() {
  ! kill -0 "$program_pid" 2>/dev/null
}

window_shown() {
  [ -n "$(visible_window)" ]
}

tip_shown() {
  [ -n "$(xdotool search --onlyvisible --name '^Tip of the Day$' 2>/dev/null)" ]
}

# Escape on the tip of the day until it is gone: on a busy machine a key can reach the display
# before the focus does, and a search fails when a window (the splash) goes while it looks.
close_tip() {
  local tip
  for _ in 1 2 3 4 5; do
    tip=$(xdotool search --onlyvisible --name '^Tip of the Day$' 2>/dev/null | head -1)
    [ -z "$tip" ] && return 0
    xdotool windowfocus --sync "$tip" 2>/dev/null || true
    xdotool key Escape
    for _ in $(seq 1 30); do
      tip_shown || return 0
      sleep 0.1
    done
  done
  return 1
}
