#!/usr/bin/env bash
# Time to a visible window and peak resident memory (VmHWM) of Tintelo.exe and the
# floor under Wine, and of the colour pickers Debian packages for Linux run natively in
# the same display, round by round. Expects DISPLAY and the Wine environment set (see
# scripts/bench.sh). Usage: bench/peers.sh BUILD_DIR [rounds]
set -euo pipefail
build=$1
rounds=${2:-5}

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Starts a program, waits for its first visible window, reads its peak resident memory
# once the window is up, then ends it. Prints "milliseconds KiB".
measure() {
  local start pid ms kib
  start=$(now_ms)
  "$@" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 2000); do
    xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && break
    sleep 0.005
  done
  ms=$(( $(now_ms) - start ))
  sleep 1  # the first paint and whatever start-up work follows it
  kib=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$ms $kib"
}

declare -A programs=(
  [floor]="wine $build/FloorWindow.exe"
  [Tintelo]="wine $build/Tintelo.exe"
  [gpick]="gpick"
  [gcolor3]="gcolor3"
  [color-picker]="color-picker"
)
order=(floor Tintelo gpick gcolor3 color-picker)
declare -A times memory
for round in $(seq 1 "$rounds"); do
  for name in "${order[@]}"; do
    read -r ms kib < <(measure ${programs[$name]})
    times[$name]+="$ms "
    memory[$name]+="$kib "
  done
  order=("${order[@]:1}" "${order[0]}")  # rotate, so no program always goes first
done

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
floor_ms=$(echo "${times[floor]}" | median)
floor_kib=$(echo "${memory[floor]}" | median)
printf '%-14s %12s %8s %14s %8s\n' program "visible ms" ratio "peak RSS KiB" ratio
for name in floor Tintelo gpick gcolor3 color-picker; do
  ms=$(echo "${times[$name]}" | median)
  kib=$(echo "${memory[$name]}" | median)
  printf '%-14s %12s %8.2f %14s %8.2f\n' "$name" "$ms" "$(echo "$ms / $floor_ms" | bc -l)" "$kib" \
    "$(echo "$kib / $floor_kib" | bc -l)"
done
echo "medians of $rounds rounds; ratios against the floor (an empty Win32 window under Wine)"
