#!/usr/bin/env bash
# End to end: the real program on a virtual X display, in a folder with Data/. Closes the tip
# of the day that greets the first start (keeping a screenshot of it), types "cats" and Enter
# as a user does, checks the senses and tabs the window shows (the program writes them to the
# file named by VERBARIUM_VIEW_REPORT), keeps a screenshot, quits with Ctrl+Q and checks that
# the history and the tip's file time were saved; then starts again, looks "dog" up and ends
# the program with SIGTERM, as a session that ends does, and checks it was saved.
#
#   window_e2e.sh PROGRAM DATA_DIR SCREENSHOT
set -euo pipefail
program=$1
data=$2
screenshot=$3
source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xdotool import

make_data_folder "$data"
start_xvfb
cd "$work"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!

wait_until --long window_shown || fail "the window did not appear"
window=$(visible_window)
wait_until --long tip_shown || fail "the tip of the day did not greet the first start"
sleep 0.6  # the splash closes
import -window root "${screenshot%.png}-tip.png"
close_tip || fail "the tip of the day did not close"
xdotool windowfocus --sync "$window"
xdotool type --delay 40 cats
xdotool key Return

wait_until grep -q '^sense' "$work/report" 2>/dev/null || true
sleep 0.3
grep -q $'^sense\t1\tcat: Feline mammal' "$work/report" || fail "sense 1 of cat is not shown"
grep -q $'\tcat: Beat with a cat-o\'-nine-tails\tVerb\tchecked$' "$work/report" ||
  fail "the verb sense of cat is not shown checked"
[ "$(grep -c '^sense' "$work/report")" -ge 8 ] || fail "fewer than 8 senses shown"
grep -q $'^tab\tSynonyms$' "$work/report" || fail "no Synonyms tab"
grep -q $'^tab\tKind of$' "$work/report" || fail "no Kind of tab"
import -window root "$screenshot"

xdotool key ctrl+q
wait_until program_ended || fail "Ctrl+Q did not end the program"
wait "$program_pid" || fail "the program ended with status $?"
program_pid=""
grep -q '^item0=cats$' "$settings" || fail "the history was not saved"
grep -q '^TimeStamp=... ... [0-9][0-9] ' "$settings" ||
  fail "the tip of the day did not keep the tips file's time"

# The next start (the last word comes back, the next tip shows); a session that ends
# (SIGTERM) still saves.
rm -f "$work/report"
"$program" >>"$work/program.log" 2>&1 &
program_pid=$!
wait_until --long window_shown || fail "the window did not appear again"
window=$(visible_window)
wait_until --long tip_shown || fail "the tip of the day did not show at the next start"
close_tip || fail "the tip of the day did not close"
wait_until grep -q $'^word\tcats$' "$work/report" || fail "the last word was not looked up"
xdotool windowfocus --sync "$window"
xdotool type --delay 40 dog
xdotool key Return
wait_until grep -q $'^word\tdog$' "$work/report" 2>/dev/null || fail "dog was not looked up"
kill -TERM "$program_pid"
wait "$program_pid" || fail "SIGTERM: the program ended with status $?"
program_pid=""
grep -q '^item0=dog$' "$settings" || fail "SIGTERM: the history was not saved"
echo "passed; screenshot in $screenshot"
