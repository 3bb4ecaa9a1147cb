#!/usr/bin/env bash
# First start of the desktop program: time from launch to the first painted
# waveform display of the bundled sample, under Xvfb, median of several runs.
# Usage: bench/first-start.sh [BUILD_DIR] [RUNS]   (default build/release, 7)
set -euo pipefail
build="${1:-build/release}"
runs="${2:-7}"
prog="$build/gui/sondara"
sample="$build/sample.qar"
[ -x "$prog" ] || { echo "build the program first: cmake --build $build --target sondara sondara_sample" >&2; exit 1; }
[ -f "$sample" ] || { echo "missing $sample: cmake --build $build --target sondara_sample" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }

tmp="$(mktemp -d)"
# a display of our own, stopped (by its id) when the script ends
display=":$(( (RANDOM % 400) + 200 ))"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT
sleep 1
export DISPLAY="$display" QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_STATE_HOME="$tmp/state"
export XDG_RUNTIME_DIR="$tmp/run" SONDARA_NO_DESKTOP_CACHE=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

times=()
cpus=()
for i in $(seq "$runs"); do
  # the first run of each configuration also writes the settings defaults and the
  # user-level file type registration, as a real first start does
  [ "$i" -eq 1 ] && rm -rf "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME"
  start=$(date +%s%N)
  out="$(SONDARA_STARTUP_PROBE=1 /usr/bin/time -f '%U %S' -o "$tmp/cpu" timeout 30 "$prog" "$sample" 2>"$tmp/err.txt")"
  painted=$(sed -n 's/^first-paint-ns //p' <<<"$out")
  [ -n "$painted" ] || { cat "$tmp/err.txt" >&2; echo "no first paint" >&2; exit 1; }
  ms=$(( (painted - start) / 1000000 ))
  cpu=$(awk '{printf "%d", ($1 + $2) * 1000}' "$tmp/cpu")
  times+=("$ms")
  cpus+=("$cpu")
  echo "run $i: ${ms} ms to the first paint, ${cpu} ms processor time in all$([ "$i" -eq 1 ] && echo ' (first start, no settings)')"
  if [ -s "$tmp/err.txt" ]; then echo "  console output:"; sed 's/^/    /' "$tmp/err.txt"; fi
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
cpumedian=$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
echo "median launch to first painted display: ${median} ms; processor time ${cpumedian} ms (${runs} runs)"
echo "machine load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
