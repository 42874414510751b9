#!/usr/bin/env bash
# Builds everything and runs every test: the core under GoogleTest (optimised, then
# under AddressSanitizer and UndefinedBehaviorSanitizer), then Tintelo.exe end to end
# under Wine in a virtual display, and its monitor tests on a desktop of three monitors.
# Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
for preset in host host-sanitize windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --parallel "$jobs"
done

ctest --preset host --parallel "$jobs"
ctest --preset host-sanitize --parallel "$jobs"

source scripts/wine-env.sh
trap tintelo_stop_wine EXIT
tintelo_start_display
tintelo_init_prefix
tintelo_warm_up
ctest --preset windows -E "$tintelo_monitor_tests"
tintelo_start_monitors
ctest --preset windows -R "$tintelo_monitor_tests"
