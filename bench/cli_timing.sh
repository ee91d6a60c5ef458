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

# Single lookups: every run timed (wall clock, and processor time user + system, which a busy
# machine does not inflate), then the medians and the slowest wall time.
TIMEFORMAT='%R %U %S'
walls=()
cpus=()
for _ in $(seq $runs); do
  figures=$({ time "$cli" --data "$data" lookup cat --json >/dev/null; } 2>&1)
  read -r real user sys <<<"$figures"
  walls+=("$real")
  cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.0f", v[int((NR + 1) / 2)] * 1000 }'; }
slowest() { printf '%s\n' "$@" | sort -g | tail -n 1 | awk '{ printf "%.0f", $1 * 1000 }'; }
echo "lookup cat --json, whole process ($runs runs): median $(median "${walls[@]}") ms wall" \
  "(slowest $(slowest "${walls[@]}") ms), median $(median "${cpus[@]}") ms processor" \
  "(goal: under 300 ms)"

# 1,000 words spread evenly over the single words of the index.
words=$(mktemp)
trap 'rm -f "$words" "$words.all"' EXIT
"$cli" --data "$data" match '*' | sed '$d' >"$words.all"
total=$(wc -l <"$words.all")
step=$(( total / 1000 ))
awk -v step="$step" 'NR % step == 0' "$words.all" | head -n 1000 >"$words"
rm -f "$words.all"
count=$(wc -l <"$words")

for format in text json; do
  flag=""
  [ "$format" = json ] && flag="--json"
  figures=$({ time "$cli" --data "$data" lookup --batch "$words" $flag >/dev/null || true; } 2>&1)
  read -r real user sys <<<"$figures"
  awk -v real="$real" -v user="$user" -v sys="$sys" -v n="$count" -v fmt="$format" \
    -v flag="$flag" 'BEGIN {
      printf "lookup --batch %s(%d words, %s, one process): %.0f ms wall, %.0f ms processor,",
             (flag == "" ? "" : flag " "), n, fmt, real * 1000, (user + sys) * 1000
      printf " %.3f ms a word (goal: under 2000 ms)\n", real * 1000 / n
    }'
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
