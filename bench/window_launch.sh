#!/usr/bin/env bash
# Times the start of the window as a whole process: from the moment the program is started to
# its window painted with the focus in the lookup box (the program reports that moment with
# --startup-report), ten starts, the median and the slowest, and the resident memory then.
# On a virtual X display when Xvfb is installed, else on Qt's offscreen platform.
#
# Usage: bench/window_launch.sh [BUILD_DIR]   (default: build)
# Goal: 200 ms and 60 MB.
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
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
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

cd "$build"
times=()
cpus=()
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
  rss+=("$(awk '/^rss_kb/ { print $2 }' "$work/report")")
done

sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(sed -n "$(( (runs + 1) / 2 ))p" <<<"$sorted")
slowest=$(tail -1 <<<"$sorted")
rss_median=$(printf '%s\n' "${rss[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
cpu_median=$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
echo "platform: $platform"
echo "launch to painted window with focus: median ${median} ms, slowest ${slowest} ms ($runs starts)"
echo "processor time of a start to that point and out again: median ${cpu_median} ms"
echo "resident memory then: median $(( rss_median / 1024 )) MB"
