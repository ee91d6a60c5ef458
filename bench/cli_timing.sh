#!/usr/bin/env bash
# Times verbarium-cli as a whole process: one "lookup cat --json" (start-up of the three
# engines, the lookup, the JSON output), and 1,000 lookups through "lookup --batch" (dictionary
# words spread over the whole index, one process).
#
# Usage: bench/cli_timing.sh [BUILD_DIR]   (default: build)
# Goals: a single lookup under 300 ms, the batch of 1,000 under 2 s.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
cli="$build/cli/verbarium-cli"
data=${VERBARIUM_DATA_DIR:-$build/Data}
runs=20

if [ ! -x "$cli" ] || [ ! -f "$data/1001W.dat" ]; then
  echo "Build verbarium-cli and the data first (cmake --build $build)." >&2
  exit 2
fi

now_ns() { date +%s%N; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'; }

# Single lookups: every run timed, then the median and the slowest.
times=()
for _ in $(seq $runs); do
  start=$(now_ns)
  "$cli" --data "$data" lookup cat --json >/dev/null
  times+=($(( $(now_ns) - start )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "lookup cat --json, whole process ($runs runs):" \
  "median $(ms "${sorted[$((runs / 2))]}") ms, slowest $(ms "${sorted[$((runs - 1))]}") ms" \
  "(goal: under 300 ms)"

# 1,000 words spread evenly over the single words of the index.
words=$(mktemp)
trap 'rm -f "$words"' EXIT
"$cli" --data "$data" match '*' | sed '$d' >"$words.all"
total=$(wc -l <"$words.all")
step=$(( total / 1000 ))
awk -v step="$step" 'NR % step == 0' "$words.all" | head -n 1000 >"$words"
rm -f "$words.all"
count=$(wc -l <"$words")

for format in text json; do
  flag=""
  [ "$format" = json ] && flag="--json"
  start=$(now_ns)
  "$cli" --data "$data" lookup --batch "$words" $flag >/dev/null || true
  elapsed=$(( $(now_ns) - start ))
  echo "lookup --batch $flag ($count words, $format, one process):" \
    "$(ms "$elapsed") ms, $(awk -v ns="$elapsed" -v n="$count" 'BEGIN { printf "%.3f", ns / n / 1e6 }') ms a word" \
    "(goal: under 2000 ms)"
done
