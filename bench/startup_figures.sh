#!/usr/bin/env bash
# The start-up figures side by side, from one run: the decoder and MD5 throughput, the lexical
# and anagram engines' start-ups on the compiled Data/, the engine's resident size after
# start-up, and "verbarium-cli lookup cat" as a whole process. The window's launch figure has
# its line below, to be filled in once the window is built.
#
# Usage: bench/startup_figures.sh [BUILD_DIR]   (default: build; RUNS=20 repetitions)
# VERBARIUM_BENCH_COMPARE='a command line' times that command the same way as the lookup,
# in the same run, and prints the lookup's time as a ratio of it.
#
# Wall times depend on what else the machine runs: the load average is printed with them.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
data=${VERBARIUM_DATA_DIR:-$build/Data}
runs=${RUNS:-20}
bench="$build/bench"
cli="$build/cli/verbarium-cli"

for program in "$bench/bench_data" "$bench/bench_codec" "$bench/bench_anagram" "$cli"; do
  if [ ! -x "$program" ]; then
    echo "Build the benchmarks and verbarium-cli first (cmake --build $build)." >&2
    exit 2
  fi
done
if [ ! -f "$data/1001W.dat" ]; then
  echo "No compiled Data/ in $data (build the verbarium_data target)." >&2
  exit 2
fi

# One benchmark's median over `repetitions` runs: real time, its unit, bytes per second.
benchmark_median() {
  local program=$1 name=$2 repetitions=$3
  "$bench/$program" --benchmark_filter="^$name(/real_time)?\$" \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null |
    awk -F, -v want="^\"${name}(/real_time)?_median\"\$" '$1 ~ want { print $3, $5, $6 }'
}

# Median wall and processor time (milliseconds) of `runs` runs of a command line.
process_median() {
  local walls=() cpus=() figures real user sys
  TIMEFORMAT='%R %U %S'
  for _ in $(seq "$runs"); do
    figures=$({ time "$@" >/dev/null 2>&1; } 2>&1)
    read -r real user sys <<<"$figures"
    walls+=("$real")
    cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')")
  done
  local wall cpu
  wall=$(printf '%s\n' "${walls[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] * 1000 }')
  cpu=$(printf '%s\n' "${cpus[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] * 1000 }')
  echo "$wall $cpu"
}

row() { printf '  %-46s %-26s %s\n' "$1" "$2" "$3"; }

echo "Start-up figures ($(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg))"
row "figure" "measured" "goal"

read -r _ _ bytes <<<"$(benchmark_median bench_data BM_DecodeStoredWordIndex 5)"
row "decoder, the stored word index" "$(awk -v b="$bytes" 'BEGIN { printf "%.0f MB/s", b / 1e6 }')" \
  ">= 200 MB/s"
read -r _ _ bytes <<<"$(benchmark_median bench_data BM_DecodeStoredTagBlocks 3)"
row "decoder, every stored tag block" "$(awk -v b="$bytes" 'BEGIN { printf "%.0f MB/s", b / 1e6 }')" \
  ">= 200 MB/s"
read -r _ _ bytes <<<"$(benchmark_median bench_codec BM_Md5 5)"
row "MD5, one message" "$(awk -v b="$bytes" 'BEGIN { printf "%.0f MB/s", b / 1e6 }')" ""
read -r _ _ bytes <<<"$(benchmark_median bench_codec BM_FileDigest10MB 5)"
row "file digest (chunks in pairs)" "$(awk -v b="$bytes" 'BEGIN { printf "%.0f MB/s", b / 1e6 }')" ""

read -r time unit _ <<<"$(benchmark_median bench_data BM_StartUpOnCompiledData "$runs")"
row "Nymdex_StartUp, median wall" "$(printf '%.1f %s' "$time" "$unit")" "<= 25 ms"
read -r time unit _ <<<"$(benchmark_median bench_anagram BM_JumbleStartUp "$runs")"
row "Jumble_StartUp, median wall" "$(printf '%.1f %s' "$time" "$unit")" ""
resident=$("$bench/bench_data" --resident | sed 's/.*engine //')
row "engine resident after start-up" "$resident" "stated"

read -r wall cpu <<<"$(process_median "$cli" --data "$data" lookup cat)"
row "verbarium-cli lookup cat, median wall" "$(printf '%.0f ms (%.0f ms processor)' "$wall" "$cpu")" \
  "ratio <= 1.0"
if [ -n "${VERBARIUM_BENCH_COMPARE:-}" ]; then
  read -r other other_cpu <<<"$(process_median sh -c "$VERBARIUM_BENCH_COMPARE")"
  row "compared command, median wall" \
    "$(printf '%.0f ms (%.0f ms processor)' "$other" "$other_cpu")" ""
  row "ratio lookup cat / compared command" \
    "$(awk -v a="$wall" -v b="$other" 'BEGIN { printf "%.2f", a / b }')" "<= 1.0"
else
  row "compared command" "none (set VERBARIUM_BENCH_COMPARE)" ""
fi

# The window: exec to painted and focused, and its resident size. Its measurement lands with
# the window; until then the line says so.
row "window, exec to painted and focused" "not measured yet" "<= 150 ms median of 10"
row "window, resident" "not measured yet" "<= 45 MB"
