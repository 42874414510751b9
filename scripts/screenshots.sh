#!/usr/bin/env bash
# Makes the README's pictures under Wine in a virtual display, and saves them in docs/:
# the window as it opens (docs/tintelo.png, by the run command's screenshot code) and the
# loupe while sampling (docs/loupe.png), and frozen (docs/loupe-frozen.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tintelo tintelo_loupe_shot

source scripts/wine-env.sh
unset DISPLAY
trap tintelo_stop_wine EXIT
tintelo_start_display
tintelo_init_prefix
mkdir -p docs
tintelo_window_shot build/windows/Tintelo.exe "Tintelo v.1.0" docs/tintelo.png
tintelo_init_prefix
shot=$(mktemp /tmp/tintelo-loupe.XXXXXX.bmp)
for mode in live frozen; do
  picture=docs/loupe.png
  if [ "$mode" = frozen ]; then picture=docs/loupe-frozen.png; fi
  # A Wine desktop window draws the caption bar that a bare virtual display lacks.
  wine explorer /desktop=Tintelo,1024x640 build/windows/tintelo_loupe_shot.exe "$(winepath -w "$shot")" \
    "$mode" >/dev/null 2>&1
  convert "$shot" -strip "$picture"
done
rm -f "$shot"
echo "docs/tintelo.png docs/loupe.png docs/loupe-frozen.png"
