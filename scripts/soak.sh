#!/usr/bin/env bash
# Long run of Tintelo.exe under Wine: sampling over a gradient and the screen, then
# slider moves and copies; prints memory and handle counts every 30 s and checks that
# every readout agrees with the others. Usage: scripts/soak.sh [minutes] (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake --preset windows >/dev/null
cmake --build --preset windows --target tintelo_soak >/dev/null
source scripts/wine-env.sh
trap tintelo_stop_wine EXIT
tintelo_start_display
tintelo_init_prefix
wine build/windows/tintelo_soak.exe "${1:-10}"
