#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
# Usage: install-deps.sh test|run|bench|release|workflow
set -euo pipefail

compilers=(cmake ninja-build g++-mingw-w64-x86-64-posix)
common=("${compilers[@]}" g++ wine wine64 fonts-wine fonts-liberation xvfb xauth x11-utils)
# Installed without recommends: the monitor tests' Xorg needs its dummy driver only.
plain=()
case "${1:-test}" in
  test)
    wanted=("${common[@]}" clang googletest libgtest-dev libbenchmark-dev python3-yaml)
    plain=(xserver-xorg-core xserver-xorg-video-dummy)
    ;;
  run) wanted=("${common[@]}" googletest imagemagick) ;;
  bench) wanted=("${common[@]}" googletest libgtest-dev libbenchmark-dev xdotool bc gpick gcolor3 color-picker) ;;
  release) wanted=("${compilers[@]}") ;;
  workflow) wanted=(nodejs npm) ;;
  *) echo "usage: $0 test|run|bench|release|workflow" >&2; exit 2 ;;
esac

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for package in "${wanted[@]}"; do installed "$package" || missing+=("$package"); done
missingPlain=()
for package in "${plain[@]}"; do installed "$package" || missingPlain+=("$package"); done
[ ${#missing[@]} -eq 0 ] && [ ${#missingPlain[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} ${missingPlain[*]} (run as root, or install them with apt-get)" >&2
  exit 1
fi
echo "Installing: ${missing[*]} ${missingPlain[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  apt-get install -y -qq "${missing[@]}" >/dev/null  # with recommends: Wine's fonts and X extensions
fi
if [ ${#missingPlain[@]} -gt 0 ]; then
  apt-get install -y -qq --no-install-recommends "${missingPlain[@]}" >/dev/null
fi
