#!/bin/sh
# Runs a command against an Xvfb server of its own (on a free display number) with Qt on the
# X11 platform, and stops the server afterwards. The command's exit status is the script's.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
stop() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$dir"
}
trap stop EXIT
tries=0
while [ ! -s "$dir/display" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
DISPLAY=":$(head -n 1 "$dir/display")"
QT_QPA_PLATFORM=xcb
export DISPLAY QT_QPA_PLATFORM
"$@"
exit $?
