#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
# Usage: install-deps.sh test|run|bench|release
set -euo pipefail

compilers=(cmake ninja-build g++-mingw-w64-x86-64-posix)
common=("${compilers[@]}" g++ wine wine64 fonts-wine fonts-liberation xvfb xauth x11-utils)
case "${1:-test}" in
  test) wanted=("${common[@]}" clang googletest libgtest-dev libbenchmark-dev) ;;
  run) wanted=("${common[@]}" googletest imagemagick) ;;
  bench) wanted=("${common[@]}" googletest libgtest-dev libbenchmark-dev xdotool bc gpick gcolor3 color-picker) ;;
  release) wanted=("${compilers[@]}") ;;
  *) echo "usage: $0 test|run|bench|release" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null  # with recommends: Wine's fonts and X extensions
