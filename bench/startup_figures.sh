#!/usr/bin/env bash
# The start-up figures side by side, from one run: the decoder and MD5 throughput, the lexical
# and anagram engines' start-ups on the compiled Data/, the engine's resident size after
# start-up, "verbarium-cli lookup cat" as a whole process beside Debian's "wn" browser for the
# same word (when installed), and the window's launch (bench/window_launch.sh) when it is built.
#
# Usage: bench/startup_figures.sh [BUILD_DIR]   (default: build; RUNS=20 repetitions)
# VERBARIUM_BENCH_COMPARE='a command line' times that command the same way as the lookup,
# in the same run, and prints the lookup's time as a ratio of it; without it, the command is
# "wn cat -over -synsn -hypen -hypon -antsn" when wn is installed.
#
# Wall times depend on what else the machine runs: the load average is printed with them.
# The decoded word index's cache lives in a scratch folder ($XDG_CACHE_HOME for the command
# line); "cold" rows start with it empty on a copy of Data/ without the copy the data build
# ships (nothing to map), "warm" rows on that copy with the cache an earlier start wrote, and
# "installed" rows with it empty on Data/ itself (the shipped copy mapped).
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

# A benchmark's repetitions, one line each: real time, its unit, bytes per second.
benchmark_runs() {
  local program=$1 name=$2 repetitions=$3
  "$bench/$program" --benchmark_filter="^$name(/real_time)?\$" \
    --benchmark_repetitions="$repetitions" --benchmark_format=csv 2>/dev/null |
    awk -F, -v want="^\"${name}(/real_time)?\"\$" '$1 ~ want { print $3, $5, $6 }'
}

# The median and the best of a list of numbers on standard input: "median best"; the best is
# the least, or with "high" the greatest.
median_best() {
  sort -g | awk -v high="${1:-}" '{ v[NR] = $1 }
    END { printf "%s %s\n", v[int((NR + 1) / 2)], high == "high" ? v[NR] : v[1] }'
}

# Throughput of a benchmark over `repetitions` runs: "median MB/s, best MB/s".
throughput() {
  benchmark_runs "$1" "$2" "$3" | awk '{ print $3 / 1e6 }' | median_best high |
    awk '{ printf "%.0f MB/s (best %.0f)", $1, $2 }'
}

# Wall time of a benchmark over `repetitions` runs: "median ms, best ms".
wall_time() {
  benchmark_runs "$1" "$2" "$3" | awk '{ print $1 }' | median_best |
    awk '{ printf "%.1f ms (best %.1f)", $1, $2 }'
}

# A command line run `runs` times: "median wall, best wall, median processor" (milliseconds).
# With `prepare` set, that command runs before each, untimed.
process_times() {
  local walls=() cpus=() figures real user sys
  TIMEFORMAT='%R %U %S'
  for _ in $(seq "$runs"); do
    if [ -n "${prepare:-}" ]; then eval "$prepare"; fi
    figures=$({ time "$@" >/dev/null 2>&1; } 2>&1)
    read -r real user sys <<<"$figures"
    walls+=("$(awk -v r="$real" 'BEGIN { print r * 1000 }')")
    cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { print (u + s) * 1000 }')")
  done
  echo "$(printf '%s\n' "${walls[@]}" | median_best) $(printf '%s\n' "${cpus[@]}" | median_best |
    cut -d' ' -f1)"
}

row() { printf '  %-42s %-40s %s\n' "$1" "$2" "$3"; }

echo "Start-up figures ($(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg))"
row "figure" "measured" "goal"

# The word index as the start-up decodes it: the chains from its resume points side by side.
row "decoder, stored word index, start-up" "$(throughput bench_data BM_DecodeStoredWordIndex 7)" \
  ">= 200 MB/s"
row "decoder, the same, loops for any CPU" \
  "$(throughput bench_data BM_DecodeStoredWordIndexAnyCpu 7)" ""
row "decoder, stored word index, one chain" \
  "$(throughput bench_data BM_DecodeStoredWordIndexOneChain 7)" ""
row "decoder, every stored tag block" "$(throughput bench_data BM_DecodeStoredTagBlocks 5)" \
  ">= 200 MB/s"
row "MD5, one message" "$(throughput bench_codec BM_Md5 7)" ""
row "MD5, 16 chunks in AVX-512 lanes" "$(throughput bench_codec BM_Md5Kernel/0 7)" ""
row "MD5, 8 chunks in AVX2 lanes" "$(throughput bench_codec BM_Md5Kernel/1 7)" ""
row "MD5, 2 chunks side by side (scalar)" "$(throughput bench_codec BM_Md5Kernel/2 7)" ""
row "file digest (10 MB, chunks in lanes)" "$(throughput bench_codec BM_FileDigest10MB 7)" ""
row "Nymdex_StartUp, wall, no cache" "$(wall_time bench_data BM_StartUpOnCompiledData "$runs")" \
  "<= 25 ms median"
row "Nymdex_StartUp, wall, cold cache" "$(wall_time bench_data BM_StartUpColdCache "$runs")" ""
row "Nymdex_StartUp, wall, warm cache" "$(wall_time bench_data BM_StartUpWarmCache "$runs")" \
  "<= 25 ms median"
row "Nymdex_StartUp, wall, installed copy" \
  "$(wall_time bench_data BM_StartUpInstalledCopy "$runs")" "<= 25 ms median"
row "Jumble_StartUp, wall" "$(wall_time bench_anagram BM_JumbleStartUp "$runs")" ""
for cache in none cold warm installed; do
  resident=$("$bench/bench_data" --resident "$cache" | sed 's/.*engine //')
  row "engine resident after start-up, $cache" "$resident" "stated"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CACHE_HOME=$scratch/cache
bare=$scratch/Data  # Data/ without the shipped copy of the decoded word index
cp -r "$data" "$bare"
rm -f "$bare/word-index.cache"
sync "$bare"/*  # the copy written back now rather than during the timed runs
# shellcheck disable=SC2016  # expanded by process_times, before each run
empty_cache='rm -rf "$XDG_CACHE_HOME/verbarium"'
lookup_row() {
  row "verbarium-cli lookup cat, wall, $1" \
    "$(printf '%.0f ms (best %.0f; %.0f ms processor)' "$2" "$3" "$4")" "${5:-}"
}
read -r cold cold_best cold_cpu <<<"$(prepare=$empty_cache process_times "$cli" --data "$bare" \
  lookup cat)"
lookup_row cold "$cold" "$cold_best" "$cold_cpu"
read -r wall best cpu <<<"$(process_times "$cli" --data "$bare" lookup cat)"
lookup_row warm "$wall" "$best" "$cpu" "ratio <= 1.0"
read -r installed installed_best installed_cpu <<<"$(prepare=$empty_cache process_times "$cli" \
  --data "$data" lookup cat)"
lookup_row installed "$installed" "$installed_best" "$installed_cpu" "ratio <= 1.0"
if [ -z "${VERBARIUM_BENCH_COMPARE:-}" ] && command -v wn >/dev/null; then
  VERBARIUM_BENCH_COMPARE='wn cat -over -synsn -hypen -hypon -antsn'
fi
if [ -n "${VERBARIUM_BENCH_COMPARE:-}" ]; then
  read -r other other_best other_cpu <<<"$(process_times sh -c "$VERBARIUM_BENCH_COMPARE")"
  row "${VERBARIUM_BENCH_COMPARE%% *} (compared), wall" \
    "$(printf '%.0f ms (best %.0f; %.0f ms processor)' "$other" "$other_best" "$other_cpu")" ""
  row "ratio lookup cat / compared command" \
    "$(awk -v a="$wall" -v b="$other" -v c="$cold" -v i="$installed" \
      'BEGIN { printf "%.2f warm, %.2f installed, %.2f cold (medians)", a / b, i / b, c / b }')" \
    "<= 1.0"
else
  row "compared command" "none (set VERBARIUM_BENCH_COMPARE)" ""
fi

# The window: exec to painted and focused, its resident size then, and the session's first
# lookup beside later ones (bench/window_launch.sh, which prints its own lines too).
if [ -x "$build/app/shell/verbarium" ]; then
  window=$(bench/window_launch.sh "$build" | awk '/^figures / { $1 = ""; print }')
  figure() { tr ' ' '\n' <<<"$window" | awk -F= -v k="$1" '$1 == k { print $2 }'; }
  row "window, exec to painted and focused" \
    "$(figure median_ms) ms (slowest $(figure slowest_ms); $(figure cpu_ms) ms processor to then)" \
    "<= 150 ms median of 10"
  row "window, resident then" \
    "$(figure rss_mb) MB ($(figure settled_rss_mb) MB once the anagram list is in)" "<= 45 MB"
  row "window, first lookup / later lookups" \
    "$(figure first_lookup_ms) ms / $(figure later_lookup_ms) ms (Enter to painted)" "equal"
else
  row "window" "not built ($build/app/shell/verbarium)" ""
fi
