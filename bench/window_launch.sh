#!/usr/bin/env bash
# Times the start of the window as a whole process: from the moment the program is started to
# its window painted with the focus in the lookup box (the program reports that moment with
# --startup-report), ten starts, the median and the slowest, and the resident memory then.
# Then, in a few fresh sessions, the time of a lookup (Enter to the window painted) for the
# session's first lookup beside later ones (--lookup-timing). On a virtual X display when Xvfb
# is installed, else on Qt's offscreen platform. With a session bus, as every desktop has: when
# none is set (a terminal without a desktop, CI), the starts get a bus of their own, since
# without one the first use of the bus (the accessibility bridge, at the window's construction)
# has libdbus launch a bus for the process, which a desktop start never pays. The output says
# which bus was used. The last line gives the figures as "name=value" pairs for
# bench/startup_figures.sh.
#
# Usage: bench/window_launch.sh [BUILD_DIR]   (default: build; LOOKUP_RUNS=n sessions, 5)
# Goals: 150 ms median and 45 MB; the first lookup as fast as later ones.
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(cd "${1:-build}" && pwd)
program="$build/app/shell/verbarium"
runs=10
if [ ! -x "$program" ] || [ ! -f "$build/Data/1001W.dat" ]; then
  echo "Build the program and the data first (cmake --build $build)." >&2
  exit 2
fi

work=$(mktemp -d)
xvfb_pid=""
bus_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/run" && chmod 700 "$work/run"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run

platform=offscreen
if command -v Xvfb >/dev/null; then
  for n in $(seq 150 190); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      export DISPLAY=":$n"
      platform=xcb
      break
    fi
  done
fi
export QT_QPA_PLATFORM=$platform

bus="the session's bus"
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  bus="none (libdbus launches one per start)"
  if command -v dbus-daemon >/dev/null &&
    dbus-daemon --session --fork --print-address=3 --print-pid=4 \
      3>"$work/bus_address" 4>"$work/bus_pid" 2>/dev/null; then
    bus_pid=$(cat "$work/bus_pid")
    DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus_address")
    export DBUS_SESSION_BUS_ADDRESS
    bus="a private session bus (none was set)"
  fi
fi

cd "$build"
times=()
cpus=()
ready_cpus=()
rss=()
"$program" --startup-report >/dev/null  # the first start writes the settings file
TIMEFORMAT='%U %S'
for _ in $(seq $runs); do
  start=$(date +%s%N)
  # The processor time of the whole run (user + system), which a busy machine does not inflate.
  cpu=$({ time "$program" --startup-report >"$work/report"; } 2>&1)
  ready=$(awk '/^ready_ns/ { print $2 }' "$work/report")
  times+=("$(( (ready - start) / 1000000 ))")
  cpus+=("$(awk '{ printf "%d", ($1 + $2) * 1000 }' <<<"$cpu")")
  ready_cpus+=("$(awk '/^cpu_ms/ { print $2 }' "$work/report")")
  rss+=("$(awk '/^rss_kb/ { print $2 }' "$work/report")")
done

# The session's first lookup ("cat") and the later ones (new words, the last one "cat" again),
# in fresh sessions (a session that had a word looks it up again at start).
lookup_runs=${LOOKUP_RUNS:-5}
firsts=()
laters=()
first_cpus=()
later_cpus=()
settled=()
for i in $(seq $lookup_runs); do
  XDG_CONFIG_HOME=$work/lookup$i "$program" --startup-report --lookup-timing >"$work/lookups"
  firsts+=("$(awk '/^lookup_ms/ { print $3; exit }' "$work/lookups")")
  settled+=("$(awk '/^settled_rss_kb/ { print $2 }' "$work/lookups")")
  laters+=($(awk '/^lookup_ms/ { n++; if (n > 1) print $3 }' "$work/lookups"))
  first_cpus+=("$(awk '/^lookup_ms/ { print $4; exit }' "$work/lookups")")
  later_cpus+=($(awk '/^lookup_ms/ { n++; if (n > 1) print $4 }' "$work/lookups"))
done
median_of() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
first_median=$(printf '%s\n' "${firsts[@]}" | sort -g | sed -n "$(( (lookup_runs + 1) / 2 ))p")
later_median=$(printf '%s\n' "${laters[@]}" | sort -g |
  awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
first_cpu_median=$(median_of "${first_cpus[@]}")
later_cpu_median=$(median_of "${later_cpus[@]}")
settled_median=$(printf '%s\n' "${settled[@]}" | sort -n | sed -n "$(( (lookup_runs + 1) / 2 ))p")

sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(sed -n "$(( (runs + 1) / 2 ))p" <<<"$sorted")
slowest=$(tail -1 <<<"$sorted")
rss_median=$(printf '%s\n' "${rss[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
cpu_median=$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
ready_cpu_median=$(printf '%s\n' "${ready_cpus[@]}" | sort -g | sed -n "$(( (runs + 1) / 2 ))p")
echo "platform: $platform; session bus: $bus"
echo "launch to painted window with focus: median ${median} ms, slowest ${slowest} ms ($runs starts)"
echo "processor time (all threads) to that point: median ${ready_cpu_median} ms;" \
  "to that point and out again: median ${cpu_median} ms"
echo "resident memory then: median $(( rss_median / 1024 )) MB;" \
  "a second later (anagram list loaded): median $(( settled_median / 1024 )) MB"
echo "lookup, Enter to painted: the session's first median ${first_median} ms," \
  "later ones median ${later_median} ms ($lookup_runs sessions)"
echo "lookup, processor time of the window's thread (less inflated by a busy machine): the" \
  "first median ${first_cpu_median} ms, later ones median ${later_cpu_median} ms"
echo "figures median_ms=$median slowest_ms=$slowest cpu_ms=$ready_cpu_median" \
  "rss_mb=$(awk -v k="$rss_median" 'BEGIN { printf "%.1f", k / 1024 }')" \
  "settled_rss_mb=$(awk -v k="$settled_median" 'BEGIN { printf "%.1f", k / 1024 }')" \
  "first_lookup_ms=$first_median later_lookup_ms=$later_median" \
  "first_lookup_cpu_ms=$first_cpu_median later_lookup_cpu_ms=$later_cpu_median"
