#!/usr/bin/env bash
# Runs the benchmarks: the readout refresh and conversions on the host, then Tintelo.exe
# against its floor programs under Wine (start-up, memory, CPU per sampling tick, idle),
# then against the colour pickers Debian packages for Linux (gpick, gcolor3, color-picker).
# Usage: scripts/bench.sh [rounds] [revision]
#        scripts/bench.sh hook   (the click hook's figures alone: another program's pointer
#          moves with no hook, with the hook set, and with Tintelo's window thread held busy)
#        scripts/bench.sh freeze (a still's figures alone, on the three-monitor desktop: F to
#          the still shown, its memory against 4 bytes a pixel, CPU per refresh frozen vs live)
#   rounds: start-up rounds, default 15
#   revision: an earlier commit whose Tintelo.exe is measured in the same rounds, beside
#     this one (built from a clean worktree of that commit as build/windows/TinteloBefore.exe)
set -euo pipefail
cd "$(dirname "$0")/.."

# The hook's and the still's figures need only Wine and the Windows build, none of the
# Linux pickers.
if [ "${1:-}" = freeze ] || [ "${1:-}" = hook ]; then
  scripts/install-deps.sh test
  cmake --preset windows >/dev/null
  cmake --build --preset windows --parallel "$(nproc)" >/dev/null
  source scripts/wine-env.sh
  trap tintelo_stop_wine EXIT
  tintelo_start_display
  tintelo_init_prefix
  if [ "$1" = freeze ]; then
    tintelo_start_monitors
    echo "== A still of the screen, three monitors (Wine $(wine --version 2>/dev/null))"
  else
    echo "== The click hook and another program's pointer (Wine $(wine --version 2>/dev/null))"
  fi
  wine build/windows/tintelo_program_bench.exe "$1"
  exit 0
fi

scripts/install-deps.sh bench

for preset in host windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --parallel "$(nproc)" >/dev/null
done

rm -f build/windows/TinteloBefore.exe
if [ -n "${2:-}" ]; then
  before_src=$(mktemp -d /tmp/tintelo-before.XXXXXX)
  git worktree add --detach "$before_src" "$2" >/dev/null
  (cd "$before_src" && cmake --preset windows -DTINTELO_TESTS=OFF >/dev/null &&
    cmake --build --preset windows --target Tintelo --parallel "$(nproc)" >/dev/null)
  cp "$before_src/build/windows/Tintelo.exe" build/windows/TinteloBefore.exe
  git worktree remove --force "$before_src"
  echo "== Earlier build: $(git rev-parse --short "$2") as TinteloBefore.exe"
fi

echo "== Readout refresh and conversions (host, Google Benchmark)"
build/host/bench/tintelo_bench --benchmark_min_time=0.5

source scripts/wine-env.sh
trap tintelo_stop_wine EXIT
tintelo_start_display
tintelo_init_prefix
echo
echo "== Tintelo.exe against its floors (Wine $(wine --version 2>/dev/null))"
wine build/windows/tintelo_program_bench.exe "${1:-15}"
echo
echo "== The click hook and another program's pointer"
wine build/windows/tintelo_program_bench.exe hook
rm -f build/windows/TinteloBefore.exe
echo
echo "== Start-up and memory against the floor and Linux colour pickers, as seen from X"
bench/peers.sh build/windows 5
echo
echo "Tintelo.exe: $(stat -c %s build/windows/Tintelo.exe) bytes; imports:" \
  $(x86_64-w64-mingw32-objdump -p build/windows/Tintelo.exe | awk '/DLL Name/ {print $3}')
