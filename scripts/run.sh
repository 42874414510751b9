#!/usr/bin/env bash
# Builds Tintelo.exe and opens it through Wine. With no display at all, it starts a
# virtual one, saves a screenshot of the window as a PNG and prints where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run

cmake --preset windows >/dev/null
cmake --build --preset windows --target Tintelo
exe=build/windows/Tintelo.exe
echo "Built $exe ($(stat -c %s "$exe") bytes)"

source scripts/wine-env.sh
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  tintelo_init_prefix
  echo "Opening Tintelo; close its window to end."
  exec wine "$exe"
fi

trap tintelo_stop_wine EXIT
tintelo_start_display
tintelo_init_prefix
shot="$PWD/build/tintelo-window.png"
tintelo_window_shot "$exe" "Tintelo v.1.0" "$shot"
echo "No display was available: Tintelo ran in a virtual one."
echo "Screenshot of the window: $shot"
