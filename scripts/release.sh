#!/usr/bin/env bash
# Builds the Tintelo.exe that users download, from the committed sources of HEAD: twice,
# in two different directories, and stops unless both builds are byte-identical. Writes
# build/release/Tintelo.exe and build/release/Tintelo.exe.sha256 (sha256sum's format)
# and prints the checksum.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh release
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "note: uncommitted changes are not in the release; it is built from $(git rev-parse --short HEAD)" >&2
fi

work=$(mktemp -d /tmp/tintelo-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
build() {  # build DIR: the exe of HEAD, from a fresh export at DIR
  mkdir -p "$1/src"
  git archive HEAD | tar -x -C "$1/src"
  cmake -S "$1/src" -B "$1/out" -G Ninja --toolchain "$1/src/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DTINTELO_TESTS=OFF >/dev/null
  cmake --build "$1/out" --target Tintelo --parallel "$(nproc)" >/dev/null
}
build "$work/first"
build "$work/second-build"
if ! cmp "$work/first/out/Tintelo.exe" "$work/second-build/out/Tintelo.exe"; then
  echo "the two builds differ: the release is not reproducible" >&2
  exit 1
fi

mkdir -p build/release
cp "$work/first/out/Tintelo.exe" build/release/Tintelo.exe
(cd build/release && sha256sum Tintelo.exe > Tintelo.exe.sha256)
echo "build/release/Tintelo.exe: $(stat -c %s build/release/Tintelo.exe) bytes, commit $(git rev-parse --short HEAD)," \
  "two builds identical"
echo "SHA-256 $(cut -d' ' -f1 build/release/Tintelo.exe.sha256)"
