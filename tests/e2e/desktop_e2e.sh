#!/usr/bin/env bash
# End to end: the real program on a virtual X display without a session bus, with an X11
# system tray (trayer). Another program's selection is set with xclip and the hotkey pressed
# with xdotool: the selection, else the clipboard, is looked up (the grab under lock keys is
# tried in tests/desktop); `verbarium --lookup trees` hands its lookup to the running program
# and ends; a hotkey changed in "Set Hotkey" fires and the old one no longer does; tray mode
# hides the window, the hotkey and the icon bring it back, the icon's Exit ends the program, the
# next start stays hidden until the hotkey calls it, and `verbarium --lookup` starts the program
# and looks up. What the window shows is read from the file named by VERBARIUM_VIEW_REPORT.
#
#   desktop_e2e.sh PROGRAM DATA_DIR SCREENSHOT
set -euo pipefail
program=$1
data=$2
screenshot=$3

source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xdotool xclip import trayer

make_data_folder "$data"
start_xvfb
# No session bus: the program starts and works without one (the tray is then X11's own).
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
unset SESSION_MANAGER
cd "$work"

trayer --edge top --align right --widthtype pixel --width 120 --height 32 \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
# Its panel shows once the tray is set up: a program started before then finds no tray.
wait_until xdotool search --onlyvisible --classname '^panel$' ||
  fail "trayer did not start: $(cat "$work/trayer.log")"

start_program() {
  rm -f "$work/report"
  "$program" "$@" >>"$work/program.log" 2>&1 &
  program_pid=$!
}

window_hidden() {
  [ -z "$(visible_window)" ]
}

shows_word() {  # the lookup box's text of the last lookup, and a sense that begins so
  grep -q "^word"$'\t'"$1\$" "$work/report" 2>/dev/null &&
    grep -q "^sense"$'\t'"1"$'\t'"$2" "$work/report"
}

# Another program's selection ("primary") or clipboard, held by xclip as that program would.
select_text() {
  printf '%s' "$2" | xclip -selection "$1" >/dev/null 2>&1
}

# The icon's window, docked in the tray: the program's one small window.
tray_icon() {
  local id width height
  for id in $(xdotool search --classname '^verbarium$' 2>/dev/null); do
    read -r width height < <(xdotool getwindowgeometry "$id" |
      sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
    if [ "${width:-0}" -ge 16 ] && [ "${width:-0}" -le 64 ] && [ "${height:-0}" -le 64 ]; then
      echo "$id"
      return
    fi
  done
}

press() {
  xdotool key "$@"
}

start_program
wait_until window_shown || fail "the window did not appear"
window=$(visible_window)
# The tip of the day greets the first start (modal, so it would hold the menus).
wait_until tip_shown || fail "no tip of the day at the first start"
close_tip || fail "the tip of the day did not close"
sleep 0.6  # the splash closes

# The selection of another program; the clipboard when nothing is selected.
select_text primary cats
press ctrl+alt+t
wait_until shows_word cats "cat: Feline mammal" || fail "the hotkey did not look up the selection"
select_text primary ""
select_text clipboard dogs
press ctrl+alt+t
wait_until shows_word dogs "dog: A member of the genus Canis" ||
  fail "the hotkey did not look up the clipboard"

# A later start hands its lookup over and ends at once.
timeout 10 "$program" --lookup trees >>"$work/program.log" 2>&1 ||
  fail "verbarium --lookup did not end at once (status $?)"
wait_until shows_word trees "tree: A tall perennial woody plant" ||
  fail "--lookup did not look up in the running program"

# Options > Set Hotkey...: the new hotkey fires, the old one no longer does.
xdotool windowfocus --sync "$window"
press alt+o
sleep 0.3
press h
wait_until xdotool search --onlyvisible --name '^Set Hotkey$' >/dev/null ||
  fail "no Set Hotkey dialog"
xdotool type --delay 30 "Ctrl+Alt+Y"
press Return
wait_until grep -q '^Hotkey=Ctrl+Alt+Y$' "$settings" || fail "the new hotkey was not stored"
select_text primary birds
press ctrl+alt+t
sleep 1
shows_word trees "tree" || fail "the old hotkey still fired"
press ctrl+alt+y
wait_until shows_word birds "bird" || fail "the new hotkey did not fire"

# Options > Run in System Tray: the window hides, "SystemTray" is written at once, the hotkey
# brings the window back; File > Exit only hides it then; the icon shows it again.
xdotool windowfocus --sync "$window"
press alt+o
sleep 0.3
press t
wait_until window_hidden || fail "tray mode did not hide the window"
grep -q '^SystemTray=1$' "$settings" || fail "SystemTray was not written at once"
select_text primary apples
press ctrl+alt+y
wait_until shows_word apples "apple" || fail "the hotkey did not look up in tray mode"
window_shown || fail "the hotkey did not show the hidden window"
xdotool windowfocus --sync "$window"
press ctrl+q
wait_until window_hidden || fail "File > Exit in tray mode did not hide the window"
kill -0 "$program_pid" || fail "File > Exit in tray mode ended the program"

icon=$(tray_icon)
[ -n "$icon" ] || fail "no tray icon"
xdotool mousemove --window "$icon" 10 10 click 1
wait_until window_shown || fail "a click on the icon did not show the window"
import -window root "$screenshot"

xdotool mousemove --window "$icon" 10 10 click 3
sleep 0.5
press Up Return  # the menu's last item: Exit
wait_until program_ended || fail "the icon's Exit did not end the program"
wait "$program_pid" || fail "the program ended with status $?"
program_pid=""

# The next start stays hidden in the tray until the hotkey calls it.
start_program
wait_until shows_word apples "apple" || fail "the program did not start in tray mode"
sleep 0.5
window_hidden || fail "the window showed at a start in tray mode"
tip_shown && fail "the tip of the day showed at a start in tray mode"
select_text primary horses
press ctrl+alt+y
wait_until shows_word horses "horse" || fail "the hotkey did not look up after a start in the tray"
window_shown || fail "the hotkey did not show the window hidden at start"
kill -TERM "$program_pid"
wait_until program_ended || fail "SIGTERM did not end the program"
wait "$program_pid" || fail "SIGTERM: the program ended with status $?"
program_pid=""
grep -q '^SystemTray=1$' "$settings" || fail "tray mode was not kept"

# `verbarium --lookup` with no program running starts it and looks up once it is up, bringing
# the window out of the tray.
start_program --lookup rivers
wait_until shows_word rivers "river: A large natural stream of water" ||
  fail "--lookup did not look up in a program it started"
wait_until window_shown || fail "--lookup did not show the window hidden at start"
kill -TERM "$program_pid"
wait_until program_ended || fail "SIGTERM did not end the program"
program_pid=""
echo "passed; screenshot in $screenshot"
