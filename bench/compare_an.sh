#!/usr/bin/env bash
# bench/compare_an.sh [DATA_DIR] [BENCH_BINARY]: times Debian's anagram generator `an`
# (package "an") on the word list of our "1001A.dat", for the questions our engine answers
# too, and prints our engine's figures from bench_anagram beside them.
#
# `an` reads its dictionary on every run, so its figures hold the load; compare them with our
# start-up plus the request. Its results are close to ours, not equal: it uses any letter as a
# word and lists orders in its own way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
data=${1:-$root/build/Data}
bench=${2:-$root/build/bench/bench_anagram}
runs=${RUNS:-20}
an=$(command -v an || echo /usr/games/an)

[ -x "$an" ] || { echo "an is not installed (apt-get install an)"; exit 1; }
[ -f "$data/1001A.dat" ] || { echo "no $data/1001A.dat: build the verbarium_data target"; exit 1; }

words=$(mktemp)
trap 'rm -f "$words"' EXIT
tail -c +33 "$data/1001A.dat" | tr '\0' '\n' | sed '/^$/d' > "$words"
echo "word list: $(wc -l < "$words") words from $data/1001A.dat"
echo

# Mean wall time of `an` over $runs runs, in milliseconds, and the number of lines it prints.
time_an() {
  local label=$1; shift
  local count start end
  count=$("$an" -d "$words" "$@" | wc -l)
  start=$(date +%s%N)
  for ((i = 0; i < runs; ++i)); do "$an" -d "$words" "$@" > /dev/null; done
  end=$(date +%s%N)
  awk -v l="$label" -v t=$((end - start)) -v r="$runs" -v c="$count" \
    'BEGIN { printf "  %-34s %8.2f ms  %6d results\n", l, t / r / 1e6, c }'
}

echo "an (a process per run, dictionary read each time):"
time_an "one-word anagrams of listen" -l 1 listen
time_an "one-word anagrams of parsley" -l 1 parsley
time_an "one-word anagrams of triangle" -l 1 triangle
time_an "first 1,000 phrases of astronomer" -n 1000 astronomer
time_an "first 1,000 phrases of generation" -n 1000 generation
time_an "first 1,000 phrases of conversation" -n 1000 conversation
time_an "words the letters of listen make" -w listen
echo

if [ -x "$bench" ]; then
  echo "verbarium (in process; add BM_JumbleStartUp for the load):"
  "$bench" --benchmark_filter='BM_JumbleStartUp$|BM_OneWordAnagrams|BM_FirstPhrases' \
    --benchmark_min_time=0.2 2>/dev/null | grep '^BM_'
else
  echo "no $bench: build the bench_anagram target for our figures"
fi
