#!/usr/bin/env bash
# End to end: the real program on a virtual X display, in a folder with Data/. Closes the tip
# of the day that greets the first start (keeping a screenshot of it), types "cats" and Enter
# as a user does, checks the senses and tabs the window shows (the program writes them to the
# file named by VERBARIUM_VIEW_REPORT), keeps a screenshot, quits with Ctrl+Q and checks that
# the history and the tip's file time were saved; then starts again (the next tip shows, the
# last word comes back), looks "dog" up and ends the program with SIGTERM, as a session that
# ends does, and checks it was saved.
#
#   window_e2e.sh PROGRAM DATA_DIR SCREENSHOT
set -euo pipefail
program=$1
data=$2
screenshot=$3

for tool in Xvfb xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (scripts/setup installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  [ -f "$work/report" ] && { echo "--- what the window showed:"; cat "$work/report"; }
  exit 1
}

wait_for_window() {
  timeout 20 xdotool search --sync --onlyvisible --name '^Verbarium$' | head -1
}
# A search fails with BadWindow when a window (the splash) goes while it looks: ask again.
wait_for_tip() {
  local id
  for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name '^Tip of the Day$' 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
# Closes the tip of the day (Escape) and waits until it is gone; on a busy machine a key can
# reach the display before the focus does, so the Escape is pressed again if the tip stays.
close_tip() {
  for _ in 1 2 3 4 5; do
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key Escape
    for _ in $(seq 1 30); do
      [ -z "$(xdotool search --onlyvisible --name '^Tip of the Day$' 2>/dev/null)" ] && return 0
      sleep 0.1
    done
  done
}

# Data/: the dictionary linked, the custom database copied.
mkdir -p "$work/Data" "$work/config" "$work/data" "$work/run"
chmod 700 "$work/run"
for f in 1001L.dat 1001W.dat 1001T.dat 1001A.dat tips.dat verbarium.bmp; do
  ln -s "$data/$f" "$work/Data/$f"
done
cp "$data/1001M.idx" "$data/1001M.dat" "$work/Data/"

# A free display.
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free display number"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

export DISPLAY=$display QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
export VERBARIUM_VIEW_REPORT=$work/report
cd "$work"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!

window=$(wait_for_window) || fail "the window did not appear"
tip=$(wait_for_tip) || fail "the tip of the day did not greet the first start"
sleep 0.6  # the splash closes
import -window root "${screenshot%.png}-tip.png"
close_tip "$tip"
xdotool windowfocus --sync "$window"
xdotool type --delay 40 cats
xdotool key Return

for _ in $(seq 1 100); do
  grep -q '^sense' "$work/report" 2>/dev/null && break
  sleep 0.1
done
sleep 0.3
grep -q $'^sense\t1\tcat: Feline mammal' "$work/report" || fail "sense 1 of cat is not shown"
grep -q $'\tcat: Beat with a cat-o\'-nine-tails\tVerb\tchecked$' "$work/report" ||
  fail "the verb sense of cat is not shown checked"
[ "$(grep -c '^sense' "$work/report")" -ge 8 ] || fail "fewer than 8 senses shown"
grep -q $'^tab\tSynonyms$' "$work/report" || fail "no Synonyms tab"
grep -q $'^tab\tKind of$' "$work/report" || fail "no Kind of tab"
import -window root "$screenshot"

xdotool key ctrl+q
for _ in $(seq 1 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program_pid" 2>/dev/null; then fail "Ctrl+Q did not end the program"; fi
wait "$program_pid" || fail "the program ended with status $?"
program_pid=""
settings="$work/config/Mirewood Software/Verbarium 1.4.conf"
grep -q '^item0=cats$' "$settings" || fail "the history was not saved"
grep -q '^TimeStamp=... ... [0-9][0-9] ' "$settings" ||
  fail "the tip of the day did not keep the tips file's time"

# The next start looks "cats" up again; a session that ends (SIGTERM) still saves.
"$program" >>"$work/program.log" 2>&1 &
program_pid=$!
window=$(wait_for_window) || fail "the window did not appear again"
tip=$(wait_for_tip) || fail "the tip of the day did not show at the next start"
close_tip "$tip"
for _ in $(seq 1 50); do
  grep -q $'^word\tcats$' "$work/report" 2>/dev/null && break
  sleep 0.1
done
grep -q $'^sense\t1\tcat: Feline mammal' "$work/report" || fail "the last word was not looked up"
xdotool windowfocus --sync "$window"
xdotool type --delay 40 dog
xdotool key Return
for _ in $(seq 1 50); do
  grep -q $'^word\tdog$' "$work/report" 2>/dev/null && break
  sleep 0.1
done
kill -TERM "$program_pid"
wait "$program_pid" || fail "SIGTERM: the program ended with status $?"
program_pid=""
grep -q '^item0=dog$' "$settings" || fail "SIGTERM: the history was not saved"
echo "passed; screenshot in $screenshot"
